// Names that would end a statement's quotes early, through the window's
// commands on every engine: as a sheet's name and a header they read that
// sheet and that column only, and a match file gives them back whole.
#include <QFile>
#include <algorithm>

#include "FormFixture.h"
#include "HostileNames.h"
#include "TdsCapture.h"

namespace {

using HostileNameTest = FormFixture;

QStringList Column(const Grid& grid, int column) {
    QStringList texts;
    for (int r = 0; r < grid.Rows(); ++r) texts << grid.CellText(r, column);
    return texts;
}

// Writes EXCEL/name.ini, a match file of MT_ITEM for the sheet columns Code,
// Note and Name, mapping Note to the TILL field given.
void WriteMatchFile(const QString& home, const QString& name, const QString& noteField) {
    QFile file(home + "/EXCEL/" + name + ".ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2='" +
               noteField.toUtf8() +
               "'\r\nField_3='ITEMNAME'\r\nName_1='Code'\r\nName_2='Note'\r\nName_3='Name'\r\n");
}

TEST_P(HostileNameTest, AsASheetsNameAndItsHeaderItReadsThoseOnly) {
    for (int i = 0; i < HostileNames().size(); ++i) {
        const HostileName& hostile = HostileNames()[i];
        SCOPED_TRACE(hostile.what);
        // An .xls names a sheet in 255 characters at most.
        const QString file = hostile.name.size() > 255 ? "Book.xlsx" : "Book.xls";
        const QString sheet = CanNameASheet(hostile.name) ? hostile.name : "Items";
        const QString header = HeaderAsRead(hostile.name, 1);
        form->TxtField[Minsert::kMatchName].text.clear();
        // Codes are numbers, so that Verify asks the sheet engine for their
        // repeats; the columns beside the code are what a name broken at its
        // bracket or quote would read instead.
        LoadSheet({{"SB", {{"Item Name", "Secret", "Name"}, {9001, 9002, "Decoy"}}},
                   {sheet,
                    {{hostile.name, "Item Name", "Secret", "Name"},
                     {1001, 7, 5, "Apple"},
                     {1002, 7, 6, "Bread"},
                     {1002, 9, 6, "Cake"}}}},
                  sheet, file);
        ChooseTable("MT_ITEM");
        Map({{header, "ITEMCODE"}, {"Name", "ITEMNAME"}});
        form->CVerify_Click();
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
        EXPECT_EQ(Column(*form->SC[Minsert::kResultGrid], -1), (QStringList{"3", "4"}));
        ASSERT_NO_FATAL_FAILURE(VerifyAndStart());
        EXPECT_EQ(Query("Select ITEMCODE, ITEMNAME From MT_ITEM"),
                  (QList<QStringList>{{"1001", "Apple"}}));

        // Saved, then applied to the sheet again, the match file maps the
        // column by its whole name.
        form->TxtField[Minsert::kMatchName].text = "hostile" + QString::number(i);
        form->CSave_Click();
        EXPECT_EQ(op.LastMessage(), "Save Completed.");
        Map({{header, ""}, {"Name", ""}});
        ASSERT_TRUE(form->ChooseSheet(sheet));
        EXPECT_EQ(Column(*form->SC[Minsert::kMappingGrid], 1),
                  (QStringList{"ITEMCODE", "", "", "ITEMNAME"}));
        EXPECT_EQ(form->MatchMisfit, "");
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    }
}

// A match file whose field names a hostile TILL column: no table has such
// a column, so the file is refused whole, naming it, and the mapping stays
// as it was; the drop-down's listing and Verify still run. Nothing else runs.
TEST_P(HostileNameTest, AsAMatchFilesTillFieldItIsRefusedWhole) {
    LoadSheet({{"Items", {{"Code", "Note", "Name"}, {"A1", "note", "Apple"}}}}, "Items");
    ChooseTable("MT_ITEM");
    for (int i = 0; i < HostileNames().size(); ++i) {
        const HostileName& hostile = HostileNames()[i];
        SCOPED_TRACE(hostile.what);
        const QString match = "till" + QString::number(i);
        WriteMatchFile(home, match, hostile.name);
        const Grid& mapping = *form->SC[Minsert::kMappingGrid];
        const QStringList before = Column(mapping, 1);
        form->TxtField[Minsert::kMatchName].text = match;
        form->TxtField_Validate(Minsert::kMatchName);
        if (hostile.name.isEmpty()) {
            EXPECT_EQ(Column(mapping, 1), (QStringList{"ITEMCODE", "", "ITEMNAME"}));
        } else {
            EXPECT_EQ(Column(mapping, 1), before);
            EXPECT_TRUE(op.LastMessage().contains(match)) << op.LastMessage().toStdString();
        }
        form->SC_BeforeEdit(Minsert::kMappingGrid, 2, 1);
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
        EXPECT_TRUE(mapping.ComboItems().contains("UOM"));
        form->CVerify_Click();
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    }
    EXPECT_EQ(Query("Select Count(*) From MT_PLU"), (QList<QStringList>{{"0"}}));
    EXPECT_EQ(Query("Select Count(*) From MT_ITEM"), (QList<QStringList>{{"0"}}));
}

INSTANTIATE_ON_ENGINES(HostileNameTest);

// What goes to SQL Server, seen at the scripted endpoint: the drop-down's
// listing keeps the statement text the system has for ordinary names, and
// no statement holds a hostile name outside its quotes.
TEST(HostileNamesAtTheWire, EveryNameStaysInsideItsQuotes) {
    SKIP_WITHOUT_TDS_CAPTURE();
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    QTemporaryDir dir;
    RecordingOperator op;
    Minsert form(op, dir.path());
    form.CheckExistFolder();
    form.LoadLCombo();
    form.TxtField[Minsert::kServerName].text = server.Server();
    form.TxtField[Minsert::kDatabaseName].text = "till";
    form.TxtField[Minsert::kUserId].text = "sa";
    form.TxtField[Minsert::kPassword].text = "plain";
    form.CConnect_Click();
    ASSERT_TRUE(form.Connected()) << op.LastMessage().toStdString();
    const QString workbook = dir.filePath("EXCEL/Book.xls");
    WriteWorkbook(workbook, {{"Items", {{"Code", "Note", "Name"}, {"A1", "note", "Apple"}}}});
    form.ChooseWorkbook(workbook);
    ASSERT_TRUE(form.ChooseSheet("Items"));
    ASSERT_TRUE(form.ChooseTable("MT_ITEM"));
    for (int i = 0; i < HostileNames().size(); ++i) {
        SCOPED_TRACE(HostileNames()[i].what);
        const QString match = "till" + QString::number(i);
        WriteMatchFile(dir.path(), match, HostileNames()[i].name);
        form.TxtField[Minsert::kMatchName].text = match;
        form.TxtField_Validate(Minsert::kMatchName);
        form.SC_BeforeEdit(Minsert::kMappingGrid, 2, 1);
        form.CVerify_Click();
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    }
    const QString listing =
        "Select A.name, A.xtype, A.Length From dbo.syscolumns As A Inner Join dbo.sysobjects As "
        "B ON A.ID=B.ID Where B.ID = Object_Id(N'MT_ITEM', N'U') And B.name = N'MT_ITEM' And "
        "A.name Not In ('ITEMCODE',";
    const QStringList statements = server.Statements();
    // The item's listing comes first, then its PLU's.
    const auto sent = [&](const QString& notIn) {
        return std::any_of(statements.begin(), statements.end(), [&](const QString& statement) {
            return statement.startsWith(listing + notIn + ")Union All ");
        });
    };
    EXPECT_TRUE(sent("'ITEMNAME'"));  // the empty name's match file
    for (const QString& statement : statements) {
        const QString outside = OutsideQuotes(statement);
        for (const char* injected : {";", "--", "DROP", "Union Select", "Secret", "Neil", "when"})
            EXPECT_FALSE(outside.contains(injected)) << statement.toStdString();
    }
}

}  // namespace
