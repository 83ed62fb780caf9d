// The window remembers the connection details but the password, the last
// workbook with its sheet and match file, and the workbooks used before.
#include <QFile>
#include <QSettings>

#include "FormFixture.h"
#include "form/RememberedSettings.h"

namespace {

using RememberedSettingsTest = FormFixture;

TEST_P(RememberedSettingsTest, ASecondStartFindsTheChoicesOfTheFirst) {
    QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
    const QList<TestSheet> sheets{{"Items", {{"Code", "Name"}, {"A1", "Apple"}}},
                                  {"Other", {{"No", "Name"}, {"M1", "Ann"}}}};
    LoadSheet(sheets, "Items", "First.xls");
    KeepSettings(*form, settings);
    LoadSheet(sheets, "Other");
    form->TxtField[Minsert::kServerName].text = "tills.example";
    form->TxtField[Minsert::kUserId].text = "manager";
    form->TxtField[Minsert::kPassword].text = "secret";
    KeepSettings(*form, settings);

    RecordingOperator secondOp;
    Minsert second(secondOp, home);
    second.Form_Load();
    RecallSettings(second, settings);
    EXPECT_EQ(second.CboDriver.listIndex, form->CboDriver.listIndex);
    EXPECT_EQ(second.TxtField[Minsert::kServerName].text, "tills.example");
    EXPECT_EQ(second.TxtField[Minsert::kDatabaseName].text,
              form->TxtField[Minsert::kDatabaseName].text);
    EXPECT_EQ(second.TxtField[Minsert::kUserId].text, "manager");
    EXPECT_EQ(second.TxtField[Minsert::kPassword].text, "");
    EXPECT_EQ(second.TxtField[Minsert::kWorkbookPath].text, home + "/EXCEL/Book.xls");
    EXPECT_EQ(second.LCombo[Minsert::kSheetList].Text(), "Other");
    EXPECT_EQ(second.SC[Minsert::kMappingGrid]->CellText(0, 0), "No");
    EXPECT_EQ(second.RecentWorkbooks,
              (QStringList{home + "/EXCEL/Book.xls", home + "/EXCEL/First.xls"}));
    EXPECT_TRUE(secondOp.errors.isEmpty());
    settings.sync();
    QFile kept(dir.filePath("settings.ini"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_FALSE(kept.readAll().contains("secret"));
}

// A workbook moved or deleted since is not opened: the second start comes
// up blank there, without an error.
TEST_P(RememberedSettingsTest, AWorkbookGoneSinceIsLeftOut) {
    QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
    LoadSheet({{"Items", {{"Code"}, {"A1"}}}}, "Items");
    KeepSettings(*form, settings);
    QFile::remove(home + "/EXCEL/Book.xls");
    RecordingOperator secondOp;
    Minsert second(secondOp, home);
    second.Form_Load();
    RecallSettings(second, settings);
    EXPECT_EQ(second.TxtField[Minsert::kWorkbookPath].text, "");
    EXPECT_TRUE(second.LCombo[Minsert::kSheetList].items.isEmpty());
    EXPECT_TRUE(secondOp.errors.isEmpty());
}

INSTANTIATE_ON_ENGINES(RememberedSettingsTest);

}  // namespace
