#include <QDir>
#include <QFile>

#include "FormFixture.h"
#include "TestWorkbook.h"
#include "validation/VerifyPass.h"

namespace {

using VerifyTest = FormFixture;

// A rejected row of the result grid: row number, and the coloured cells.
struct Rejected {
    QString row;
    QMap<int, int> colors;  // result column -> colour
};

QList<Rejected> RejectedRows(const Grid& result) {
    QList<Rejected> rows;
    for (int r = 0; r < result.Rows(); ++r) {
        Rejected row{result.CellText(r, -1), {}};
        for (int c = 0; c < result.Cols(); ++c)
            if (result.CellBackColor(r, c)) row.colors[c] = result.CellBackColor(r, c);
        rows << row;
    }
    return rows;
}

TEST_P(VerifyTest, EachKindOfErrorColoursItsCellAndGoesToItsFile) {
    LoadSheet({{"Items",
                {{"Code", "Name"},
                 {"A1", "Good"},
                 {QVariant(), "Blank code"},
                 {"D1", "Dup"},
                 {"d1", "Dup in other case"},
                 {"LONGER-THAN-TWENTY-CHARS", "Long"},
                 {"B 1", "Space"},
                 {"O'NE", "Quote"},
                 {"C#", "Hash"}}}},
              "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    form->CVerify_Click();
    EXPECT_EQ(op.LastMessage(), "Error Found !!! Please Check Again the Excel Data.");
    EXPECT_EQ(op.messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(form->CStart.enabled);
    const Grid& result = *form->SC[Minsert::kResultGrid];
    ASSERT_EQ(result.Cols(), 2);
    EXPECT_EQ(result.CellText(-1, 0), "Code=ITEMCODE");
    EXPECT_EQ(result.CellText(-1, 1), "Name=ITEMNAME");
    const QList<Rejected> rows = RejectedRows(result);
    const QList<QPair<QString, int>> expected{
        {"3", kNullValue.color},     {"4", kDuplicateValue.color}, {"5", kDuplicateValue.color},
        {"6", kOverMaxLength.color}, {"7", kStringError.color},    {"8", kStringError.color},
        {"9", kStringError.color}};
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].row, expected[i].first);
        EXPECT_EQ(rows[i].colors, (QMap<int, int>{{0, expected[i].second}})) << i;
    }
    EXPECT_EQ(result.CellText(1, 0), "D1");
    EXPECT_EQ(result.CellText(1, 1), "Dup");
    EXPECT_EQ(form->TxtField[Minsert::kTotalLines].text, "8");
    EXPECT_EQ(form->TxtField[Minsert::kOkLines].text, "1");
    EXPECT_EQ(form->TxtField[Minsert::kErrorLines].text, "7");
    EXPECT_EQ(VerdictFile("OK"), "A1\tGood\r\n");
    EXPECT_EQ(VerdictFile("NULLVALUE"), "\tBlank code\r\n");
    EXPECT_EQ(VerdictFile("DUPLICATEVALUE"), "D1\tDup\r\nd1\tDup in other case\r\n");
    EXPECT_EQ(VerdictFile("OVERMAXLENGTH"), "LONGER-THAN-TWENTY-CHARS\tLong\r\n");
    EXPECT_EQ(VerdictFile("STRINGERROR"), "B 1\tSpace\r\nO'NE\tQuote\r\nC#\tHash\r\n");
    EXPECT_EQ(op.progress.first(), "");
    EXPECT_EQ(op.progress.last(), "");
    EXPECT_TRUE(op.progress.contains("Processing... 1 of 8"));
}

// A verdict file keeps one line a record, as the dump does: line breaks,
// tabs, backslashes and a NUL in a value are written escaped.
TEST_P(VerifyTest, AVerdictFileKeepsEachRecordOnItsLineWhateverItsValuesHold) {
    LoadSheet({{"Items",
                {{"Code", "Name"},
                 {"A1", "two\r\nlines"},
                 {"A2", "tab\there"},
                 {"A3", "back\\slash"},
                 {"A4", QString("nul") + QChar(0) + "byte"}}}},
              "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    form->CVerify_Click();
    EXPECT_EQ(VerdictFile("OK"), "A1\ttwo\\r\\nlines\r\nA2\ttab\\there\r\nA3\tback\\\\slash\r\n");
    EXPECT_EQ(VerdictFile("INVALIDVALUE"), QByteArray("A4\tnul\\0byte\r\n"));
}

TEST_P(VerifyTest, TheFirstFailingCheckAcrossColumnsWins) {
    // The name (mapped first) is too long; the code after it is blank.
    LoadSheet({{"Items", {{"Name", "Code"}, {QString(101, 'n'), QVariant()}, {"ok", "K1"}}}},
              "Items");
    ChooseTable("MT_ITEM");
    Map({{"Name", "ITEMNAME"}, {"Code", "ITEMCODE"}});
    form->CVerify_Click();
    const QList<Rejected> rows = RejectedRows(*form->SC[Minsert::kResultGrid]);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].colors, (QMap<int, int>{{0, kOverMaxLength.color}}));
    EXPECT_FALSE(VerdictFile("OVERMAXLENGTH").isEmpty());
    EXPECT_TRUE(VerdictFile("NULLVALUE").isEmpty());
}

TEST_P(VerifyTest, NumericCodesAreCountedAsNumbersAndQuotesAreSafe) {
    LoadSheet(
        {{"Members", {{"No", "Name"}, {1001, "Ann"}, {1002, "Bob"}, {1001, "Cy"}, {12.5, "Di"}}},
         {"Codes", {{"Code", "Name"}, {"X'1", "Q"}, {"x'1", "R"}}}},
        "Members");
    ChooseTable("CLUB_MT_MEMBER");
    Map({{"No", "MEMBERCODE"}, {"Name", "MEMBERNAME"}});
    form->CVerify_Click();
    QStringList rows;
    for (const Rejected& r : RejectedRows(*form->SC[Minsert::kResultGrid])) rows << r.row;
    EXPECT_EQ(rows, QStringList({"2", "4"}));
    EXPECT_EQ(form->SC[Minsert::kResultGrid]->CellText(0, 0), "1001");
    EXPECT_EQ(form->SC[Minsert::kResultGrid]->CellText(1, 0), "1001");

    // A code holding a quote is counted (and refused for its quote), not broken.
    ASSERT_TRUE(form->ChooseSheet("Codes"));
    Map({{"Code", "MEMBERCODE"}, {"Name", "MEMBERNAME"}});
    form->CVerify_Click();
    ASSERT_TRUE(op.errors.isEmpty());
    const QList<Rejected> quoted = RejectedRows(*form->SC[Minsert::kResultGrid]);
    ASSERT_EQ(quoted.size(), 2);
    EXPECT_EQ(quoted[0].colors[0], kDuplicateValue.color);
}

TEST_P(VerifyTest, RepeatsAreFoundWhateverTheLettersOfTheOtherCells) {
    // Repeats in other case and in accented letters beside codes that only
    // look alike; a Kelvin sign, which folds to "k", ahead of the plain
    // letter it repeats; and codes all in ASCII, a number among them, which
    // are counted without the sheet engine.
    const QString kelvin = QString(QChar(0x212A)) + "1";
    LoadSheet({{"Letters",
                {{"Code", "Name"},
                 {"ab", "a"},
                 {"\u00c91", "b"},
                 {"AB", "c"},
                 {"\u00e91", "d"},
                 {"AB ", "e"},
                 {"E1", "f"}}},
               {"Kelvin", {{"Code", "Name"}, {kelvin, "a"}, {"K2", "b"}, {"K1", "c"}}},
               {"Ascii",
                {{"Code", "Name"},
                 {"ab", "a"},
                 {"AB", "b"},
                 {"x1", "c"},
                 {1001, "d"},
                 {"1001", "e"},
                 {"X1 ", "f"},
                 {"e2", "g"}}}},
              "Letters");
    const struct {
        QString sheet;
        QStringList rejected;
        QString ok;
    } cases[] = {{"Letters", {"2", "3", "4", "5", "6"}, "E1\tf\r\n"},
                 {"Kelvin", {"2", "4"}, "K2\tb\r\n"},
                 {"Ascii", {"2", "3", "5", "6", "7"}, "x1\tc\r\ne2\tg\r\n"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(form->ChooseSheet(c.sheet));
        ChooseTable("MT_ITEM");
        Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
        form->CVerify_Click();
        QStringList rows;
        for (const Rejected& r : RejectedRows(*form->SC[Minsert::kResultGrid])) rows << r.row;
        EXPECT_EQ(rows, c.rejected) << qPrintable(c.sheet);
        EXPECT_TRUE(VerdictFile("OK").endsWith(c.ok.toUtf8())) << qPrintable(c.sheet);
    }
}

TEST_P(VerifyTest, AWorkbookChangedAfterItsSheetsWereListedIsReadAgain) {
    // The workbook opened to list its sheets serves the sheet chosen next
    // only while its file is unchanged.
    const QString path = home + "/EXCEL/Book.xls";
    WriteWorkbook(path, {{"Items", {{"Code", "Name"}, {"A1", "x"}, {"A1", "y"}}}});
    form->ChooseWorkbook(path);
    WriteWorkbook(path, {{"Items", {{"Code", "Name"}, {"A1", "x"}, {"B1", "y"}}}});
    ASSERT_TRUE(form->ChooseSheet("Items"));
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    form->CVerify_Click();
    EXPECT_EQ(form->SC[Minsert::kResultGrid]->Rows(), 0);
    EXPECT_EQ(form->TxtField[Minsert::kOkLines].text, "2");
}

TEST_P(VerifyTest, ClassificationPairsAreDuplicatesOnlyTogether) {
    LoadSheet({{"Class",
                {{"Type", "Code", "Name"},
                 {"DEPT", "01", "Food"},
                 {"DEPT", "02", "Drink"},
                 {"CAT", "01", "Cat one"},
                 {"dept", "01", "Food again"}}}},
              "Class");
    ChooseTable("MT_CLASS");
    Map({{"Type", "CLASSTYPECODE"}, {"Code", "CLASSCODE"}, {"Name", "CLASSNAME"}});
    form->CVerify_Click();
    const QList<Rejected> rows = RejectedRows(*form->SC[Minsert::kResultGrid]);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].row, "2");
    EXPECT_EQ(rows[1].row, "5");
    for (const Rejected& r : rows)
        EXPECT_EQ(r.colors,
                  (QMap<int, int>{{0, kDuplicateValue.color}, {1, kDuplicateValue.color}}));
}

TEST_P(VerifyTest, MoreThanTwoClassificationKeysAreRefused) {
    LoadSheet({{"Class", {{"Type", "Code", "Code2", "Name"}, {"T", "1", "2", "N"}}}}, "Class");
    ChooseTable("MT_CLASS");
    Map({{"Type", "CLASSTYPECODE"}, {"Code", "CLASSCODE"}, {"Name", "CLASSNAME"}});
    const QString twice =
        "TILL field CLASSCODE is mapped from two Excel fields, Code and Code2 !!!";
    EXPECT_EQ(form->MapColumn("Code2", "CLASSCODE"), twice);
    // As a match file applied before the database was connected leaves it.
    form->SC[Minsert::kMappingGrid]->SetCellText(2, 1, "CLASSCODE");
    form->CVerify_Click();
    EXPECT_EQ(op.LastMessage(), twice);
    EXPECT_FALSE(form->CStart.enabled);
}

TEST_P(VerifyTest, ABillOfMaterialCountsOnlyItsDLines) {
    LoadSheet({{"Bom",
                {{"Group", "Type", "Item", "Comp"},
                 {"G1", "H", "F1", ""},
                 {"G1", "D", "F1", "C1"},
                 {"G1", "D", "F1", "C1"},
                 {"G1", "D", "F1", ""}}}},
              "Bom");
    ChooseTable("INVT_MT_BOM");
    Map({{"Group", "BOMGROUPCODE"},
         {"Type", "TYPE"},
         {"Item", "ITEMCODE"},
         {"Comp", "BOMITEMCODE"}});
    form->CVerify_Click();
    EXPECT_EQ(form->TxtField[Minsert::kTotalLines].text, "3");
    const QList<Rejected> rows = RejectedRows(*form->SC[Minsert::kResultGrid]);
    ASSERT_EQ(rows.size(), 1);  // the component code is blank; repeats are not checked here
    EXPECT_EQ(rows[0].row, "4");
    EXPECT_EQ(rows[0].colors, (QMap<int, int>{{3, kNullValue.color}}));
}

// A sheet of a header row alone has nothing to check or write: Verify says
// so, and Start stays off.
TEST_P(VerifyTest, AnEmptySheetGivesZeroTotalsAndNoFiles) {
    LoadSheet({{"Items", {{"Code", "Name"}}}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    form->CVerify_Click();
    EXPECT_EQ(op.LastMessage(),
              "The sheet has no data rows: only its header row is there to read.");
    EXPECT_FALSE(form->CStart.enabled);
    EXPECT_EQ(form->TxtField[Minsert::kTotalLines].text, "0");
    EXPECT_EQ(form->TxtField[Minsert::kOkLines].text, "0");
    EXPECT_EQ(form->TxtField[Minsert::kErrorLines].text, "0");
    EXPECT_EQ(QDir(home + "/EXCEL").entryList({"*.txt"}), QStringList());
}

TEST_P(VerifyTest, LengthsApplyToCharacterColumnsOnlyAndAnUnknownColumnIsNotMapped) {
    LoadSheet({{"Plu",
                {{"Plu", "Item", "Desc", "Qty", "Extra"},
                 {"P1", "I1", "One", 123456789, ""},
                 {"P2", "I2", QString(41, 'x'), 1, "x"}}}},
              "Plu");
    ChooseTable("MT_PLU");
    Map({{"Plu", "PLUCODE"}, {"Item", "ITEMCODE"}, {"Desc", "POSDESCRIPTION"}, {"Qty", "UOMQTY"}});
    EXPECT_EQ(form->MapColumn("Extra", "NOSUCHCOLUMN"),
              "NOSUCHCOLUMN is not a TILL field of MT_PLU (Excel field Extra) !!!");
    form->CVerify_Click();
    const QList<Rejected> rows = RejectedRows(*form->SC[Minsert::kResultGrid]);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row, "3");
    EXPECT_EQ(rows[0].colors, (QMap<int, int>{{2, kOverMaxLength.color}}));
}

TEST_P(VerifyTest, AMustFillColumnLeftUnmappedStopsVerify) {
    LoadSheet({{"Vendors", {{"Code", "Name"}, {"V1", "Vendor"}}}}, "Vendors");
    ChooseTable("LEDG_MT_CREDITOR");
    Map({{"Name", "CREDITORNAME"}});
    form->CVerify_Click();
    EXPECT_EQ(op.LastMessage(), "CREDITORCODE Cannot Leave Blank !!!");
    EXPECT_FALSE(form->CStart.enabled);
}

// The reference codes GSETUP.ini gives the defaults are checked against
// their columns before any row is read: a bad one is named with its key and
// column, and nothing is verified, rather than every row failing at Start.
TEST_P(VerifyTest, ADefaultOfTheSetupFileItsColumnCannotHoldStopsVerify) {
    static const struct {
        const char* setup;
        bool printerMapped;
        const char* message;  // nullptr: Verify runs
    } kCases[] = {
        {"Printer=KITCHEN-PRINTER-GROUP-NUMBER-1", false,
         "The default Printer=KITCHEN-PRINTER-GROUP-NUMBER-1 of GSETUP.ini cannot go into "
         "REFPRINTERGROUPCODE: it is longer than the column's 20 characters !!!"},
        {"Tax=NON TAX", false,
         "The default Tax=NON TAX of GSETUP.ini cannot go into REFTAXCODE: it holds a character a "
         "code cannot: a space, ', \", # or a control character !!!"},
        {"Printer=KITCHEN-PRINTER-GROUP-NUMBER-1", true, nullptr},  // the sheet's own column
        {"Tax=T1", false, nullptr},
    };
    LoadSheet({{"Stock", {{"Code", "Name", "Printer"}, {"S1", "Stock item", "K2"}}}}, "Stock");
    ChooseTable("INVT_MT_ITEM");
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.setup);
        QFile ini(home + "/GSETUP.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[DEFAULTDEFCODE]\r\n") + c.setup + "\r\n");
        ini.close();
        Map({{"Code", "ITEMCODE"},
             {"Name", "ITEMNAME"},
             {"Printer", c.printerMapped ? "REFPRINTERGROUPCODE" : ""}});
        form->CStart.enabled = false;
        form->CVerify_Click();
        EXPECT_EQ(op.LastMessage(), c.message ? c.message : "No Error Found.");
        EXPECT_EQ(form->CStart.enabled, !c.message);
    }
}

INSTANTIATE_ON_ENGINES(VerifyTest);

}  // namespace
