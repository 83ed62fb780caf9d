#include <QFile>

#include "FormFixture.h"

namespace {

using MappingTest = FormFixture;

// Writes a file whole (a match file, as a user or another program left it).
void WriteFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(text), text.size());
}

QStringList TillFields(const Grid& mapping) {
    QStringList fields;
    for (int r = 0; r < mapping.Rows(); ++r) fields << mapping.CellText(r, 1);
    return fields;
}

TEST_P(MappingTest, AMatchFileWithoutNamesReappliesToTheNextSheetByPosition) {
    QVariantList twelve, ten;
    for (int i = 1; i <= 12; ++i) twelve << "C" + QString::number(i);
    for (int i = 1; i <= 10; ++i) ten << "D" + QString::number(i);
    LoadSheet({{"Twelve", {twelve}}, {"Ten", {ten}}}, "Twelve");
    ChooseTable("MT_ITEM");
    Map({{"C1", "ITEMCODE"}, {"C3", "UNITPRICE"}, {"C12", "UOM"}});
    form->TxtField[Minsert::kMatchName].text = "items";
    form->CSave_Click();
    EXPECT_EQ(op.LastMessage(), "Save Completed.");
    QFile saved(home + "/EXCEL/items.ini");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith(
        "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2=''\r\n"
        "Field_3='UNITPRICE'\r\n"));

    // A lower-case table name in the file still finds its catalogue entry,
    // and a file saved before the sheet's column names were kept maps by
    // position whatever the names.
    saved.close();
    QByteArray text = [&] {
        QFile f(saved.fileName());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    text.replace("'MT_ITEM'", "'mt_plu'");
    text.truncate(text.indexOf("Name_1="));
    WriteFile(saved.fileName(), text);

    ASSERT_TRUE(form->ChooseSheet("Ten"));
    const QStringList expected{"ITEMCODE", "", "UNITPRICE", "", "", "", "", "", "", ""};
    EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]), expected);
    EXPECT_EQ(form->TABLENAME.text, "MT_PLU");
    EXPECT_EQ(form->LCombo[Minsert::kTableList].Text(), "[Ver 8.0] Multi Plu");
    EXPECT_EQ(form->UsedFieldList, "'ITEMCODE','UNITPRICE'");
}

TEST_P(MappingTest, AMatchFileOnASheetOfOtherColumnsMapsByNameAndSaysWhatDidNotMatch) {
    LoadSheet({{"Items", {{"Item Code", "Item Name", "PLU Code", "Price"}}},
               {"Stock", {{"item code ", "Portion Price", "ITEM NAME"}}}},
              "Items");
    ChooseTable("MT_ITEM");
    Map({{"Item Code", "ITEMCODE"},
         {"Item Name", "ITEMNAME"},
         {"PLU Code", "PLUCODE"},
         {"Price", "UNITPRICE"}});
    form->TxtField[Minsert::kMatchName].text = "items";
    form->CSave_Click();
    QFile saved(home + "/EXCEL/items.ini");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains(
        "Name_1='Item Code'\r\nName_2='Item Name'\r\nName_3='PLU Code'\r\nName_4='Price'\r\n"));

    op.messages.clear();
    ASSERT_TRUE(form->ChooseSheet("Stock"));
    EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]),
              (QStringList{"ITEMCODE", "", "ITEMNAME"}));
    EXPECT_EQ(form->UsedFieldList, "'ITEMCODE','ITEMNAME'");
    const QString told =
        "The sheet's columns differ from those the match file items was saved with: columns "
        "were matched by name. Not in the match file, left unmapped: 'Portion Price'. In the "
        "match file but not in the sheet: 'PLU Code', 'Price'.";
    ASSERT_EQ(op.messages.size(), 1);
    EXPECT_EQ(op.messages[0].text, told);
    EXPECT_EQ(op.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(form->MatchMisfit, told);

    // The sheet it was saved from fits again, silently.
    op.messages.clear();
    ASSERT_TRUE(form->ChooseSheet("Items"));
    EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]),
              (QStringList{"ITEMCODE", "ITEMNAME", "PLUCODE", "UNITPRICE"}));
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_EQ(form->MatchMisfit, "");

    // Naming the file before any sheet is chosen has no columns to fit.
    form->ChooseWorkbook(home + "/EXCEL/Book.xls");
    form->TxtField_Validate(Minsert::kMatchName);
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_EQ(form->MatchMisfit, "");
}

TEST_P(MappingTest, AMatchNameThatLeavesTheExcelFolderIsRefused) {
    LoadSheet({{"Items", {{"Code"}}}}, "Items");
    ChooseTable("MT_ITEM");
    form->TxtField[Minsert::kMatchName].text = "../outside";
    form->CSave_Click();
    EXPECT_TRUE(op.LastMessage().startsWith("Invalid Match File Name"));
    EXPECT_FALSE(QFile::exists(home + "/outside.ini"));
}

TEST_P(MappingTest, TheDropDownOffersTheTablesUnusedColumnsButNeverId) {
    LoadSheet({{"Items", {{"Code", "Name"}}}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}});
    form->SC_BeforeEdit(Minsert::kMappingGrid, 1, 1);
    const QStringList offered = form->SC[Minsert::kMappingGrid]->ComboItems();
    EXPECT_EQ(offered.value(0), "");
    EXPECT_TRUE(offered.contains("ITEMNAME"));
    EXPECT_TRUE(offered.contains("UOMQTY"));  // the PLU table's columns too
    EXPECT_FALSE(offered.contains("ITEMCODE"));
    EXPECT_FALSE(offered.contains("ID"));
    EXPECT_EQ(form->SC[Minsert::kMappingGrid]->ListIndex(), 0);
}

TEST_P(MappingTest, ANewMatchNameKeepsTheMappingAndSavingOverAFileAsksFirst) {
    LoadSheet({{"Items", {{"Code", "Name"}}}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    // Typing a name of no file yet and leaving the box applies nothing.
    form->TxtField[Minsert::kMatchName].text = "fresh";
    form->TxtField_Validate(Minsert::kMatchName);
    EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]), (QStringList{"ITEMCODE", "ITEMNAME"}));
    EXPECT_EQ(form->UsedFieldList, "'ITEMCODE','ITEMNAME'");
    EXPECT_EQ(form->TABLENAME.text, "MT_ITEM");
    form->CSave_Click();
    EXPECT_EQ(op.LastMessage(), "Save Completed.");
    EXPECT_TRUE(op.questions.isEmpty());
    const QString path = home + "/EXCEL/fresh.ini";
    const auto saved = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_TRUE(saved().contains("Field_1='ITEMCODE'\r\nField_2='ITEMNAME'"));

    // Replacing it asks; No keeps the file as it was.
    Map({{"Name", ""}});
    op.yesNoAnswers = {false};
    form->CSave_Click();
    EXPECT_EQ(op.questions, QStringList{"Confirm to Replace the Match File fresh ?"});
    EXPECT_EQ(op.LastMessage(), "Save Cancel.");
    EXPECT_TRUE(saved().contains("Field_2='ITEMNAME'"));
    op.yesNoAnswers = {true};
    form->CSave_Click();
    EXPECT_EQ(op.LastMessage(), "Save Completed.");
    EXPECT_TRUE(saved().contains("Field_2=''"));
}

// A match file typed in the match-name box is applied whole or not at all:
// one that cannot be leaves the table and the mapping as they were, and the
// operator is told which file, table or field is the matter.
TEST_P(MappingTest, AMatchFileThatCannotBeAppliedLeavesTheMappingAndSaysWhy) {
    const struct {
        const char* name;
        const char* text;  // the file's; nullptr: no file
        MsgIcon icon;
        const char* told;  // after the file's path
    } kCases[] = {
        {"none", nullptr, MsgIcon::Exclamation, " does not exist: the mapping is left as it is."},
        {"old", "[MatchField]\r\nTableName='MT_ITEMS_OLD'\r\nField_1='UOM'\r\nField_2='UOM'\r\n",
         MsgIcon::Critical,
         " names the table \"MT_ITEMS_OLD\", which is not in the catalogue: the file was not "
         "applied !!!"},
        {"unknown", "[MatchField]\r\nTableName='MT_PLU'\r\nField_1='PLUCODE'\r\nField_2='COST'\r\n",
         MsgIcon::Critical,
         " was not applied: COST is not a TILL field of MT_PLU (Excel field Name) !!!"},
        {"twice",
         "[MatchField]\r\nTableName='MT_PLU'\r\nField_1='plucode'\r\nField_2=' PLUCODE '\r\n",
         MsgIcon::Critical,
         " was not applied: TILL field PLUCODE is mapped from two Excel fields, Code and Name !!!"},
    };
    LoadSheet({{"Items", {{"Code", "Name"}}}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        const QString path = home + "/EXCEL/" + c.name + ".ini";
        if (c.text) WriteFile(path, c.text);
        op.messages.clear();
        form->TxtField[Minsert::kMatchName].text = c.name;
        form->TxtField_Validate(Minsert::kMatchName);
        ASSERT_EQ(op.messages.size(), 1);
        EXPECT_EQ(op.messages[0].text, "Match file " + path + c.told);
        EXPECT_EQ(op.messages[0].icon, c.icon);
        EXPECT_EQ(form->MatchNotApplied, "Match file " + path + c.told);
        EXPECT_EQ(form->TABLENAME.text, "MT_ITEM");
        EXPECT_EQ(form->LCombo[Minsert::kTableList].Text(), "[Ver 8.0] Item");
        EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]),
                  (QStringList{"ITEMCODE", "ITEMNAME"}));
    }
    // A file that can be is applied, in the table's own spelling of its names.
    WriteFile(home + "/EXCEL/spaced.ini",
              "[MatchField]\r\nTableName=' mt_plu '\r\nField_1=' plucode '\r\n"
              "Field_2='ItemCode'\r\n");
    form->TxtField[Minsert::kMatchName].text = "spaced";
    form->TxtField_Validate(Minsert::kMatchName);
    EXPECT_EQ(form->MatchNotApplied, "");
    EXPECT_EQ(form->TABLENAME.text, "MT_PLU");
    EXPECT_EQ(TillFields(*form->SC[Minsert::kMappingGrid]), (QStringList{"PLUCODE", "ITEMCODE"}));
}

// A match file applied before the database was connected could not be held
// to its table's fields: Verify holds the mapping to them before any row.
TEST_P(MappingTest, VerifyRefusesAMappedFieldTheTableLacks) {
    Minsert unconnected(op, home);
    unconnected.CheckExistFolder();
    unconnected.LoadLCombo();
    WriteWorkbook(home + "/EXCEL/Book.xls",
                  {{"Items", {{"Code", "Name", "Cost"}, {"A1", "Apple", 2}}}});
    WriteFile(home + "/EXCEL/items.ini",
              "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\n"
              "Field_2='ITEMNAME'\r\nField_3='COST'\r\n");
    unconnected.TxtField[Minsert::kMatchName].text = "items";
    unconnected.ChooseWorkbook(home + "/EXCEL/Book.xls");
    ASSERT_TRUE(unconnected.ChooseSheet("Items"));
    ASSERT_EQ(unconnected.MatchNotApplied, "");
    unconnected.ConnectTarget(target);
    ASSERT_TRUE(unconnected.Connected());
    unconnected.CVerify_Click();
    EXPECT_EQ(op.LastMessage(), "COST is not a TILL field of MT_ITEM (Excel field Cost) !!!");
    EXPECT_FALSE(unconnected.CStart.enabled);
    EXPECT_EQ(unconnected.VerifyResult.total, 0);
    EXPECT_TRUE(op.errors.isEmpty());
}

TEST_P(MappingTest, TheEditorOpensOnTheCellsOwnColumn) {
    LoadSheet({{"Items", {{"Code", "Name"}}}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"}});
    const Grid& mapping = *form->SC[Minsert::kMappingGrid];
    form->SC_BeforeEdit(Minsert::kMappingGrid, 0, 1);
    EXPECT_EQ(mapping.ComboItems().value(mapping.ListIndex()), "ITEMCODE");
    EXPECT_EQ(mapping.ComboItems().count("ITEMCODE"), 1);
    form->SC_BeforeEdit(Minsert::kMappingGrid, 1, 1);
    EXPECT_EQ(mapping.ListIndex(), 0);
    EXPECT_FALSE(mapping.ComboItems().contains("ITEMCODE"));
}

INSTANTIATE_ON_ENGINES(MappingTest);

// The company directory of the program folder fills the connection fields.
TEST(CompanyPick, ADoubleClickFillsTheDatabaseDetails) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QString(XLSLOAD_SOURCE_DIR) + "/tests/support/companies/CompFile.mdb",
                            dir.filePath("CompFile.mdb")));
    RecordingOperator op;
    Minsert form(op, dir.path());
    form.Form_Load();
    ASSERT_EQ(form.SC[Minsert::kCompanyList]->Rows(), 10);
    EXPECT_EQ(form.SC[Minsert::kCompanyList]->CellText(-1, 0), "Code");
    const auto pick = [&](const QString& code) { ASSERT_TRUE(form.PickCompany(code)); };
    pick("C002");
    EXPECT_EQ(form.TxtField[Minsert::kServerName].text, "srv-north");
    EXPECT_EQ(form.TxtField[Minsert::kDatabaseName].text, "TILLNORTH");
    EXPECT_EQ(form.TxtField[Minsert::kUserId].text, "admin");
    EXPECT_EQ(form.TxtField[Minsert::kPassword].text, "p@ss;word");
    pick("C009");  // NULL server and user keep the previous texts
    EXPECT_EQ(form.TxtField[Minsert::kServerName].text, "srv-north");
    EXPECT_EQ(form.TxtField[Minsert::kDatabaseName].text, "DB9");
    EXPECT_EQ(form.TxtField[Minsert::kPassword].text, "nine");
    pick("O'NEIL");
    EXPECT_EQ(form.TxtField[Minsert::kServerName].text, "srv8");
    EXPECT_EQ(form.TxtField[Minsert::kPassword].text, "q");
    pick("C007");  // decrypts without the marker: no usable password
    EXPECT_EQ(form.TxtField[Minsert::kPassword].text, "");
    EXPECT_TRUE(op.errors.isEmpty());
    EXPECT_FALSE(form.CVerify.enabled);
}

}  // namespace
