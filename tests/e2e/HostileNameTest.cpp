// Names that would end a statement's quotes early, through the window's
// commands on every engine: as a sheet's name and a header they read that
// sheet and that column only, and a match file gives them back whole.
#include "FormFixture.h"
#include "HostileNames.h"

namespace {

using HostileNameTest = FormFixture;

QStringList Column(const Grid& grid, int column) {
    QStringList texts;
    for (int r = 0; r < grid.Rows(); ++r) texts << grid.CellText(r, column);
    return texts;
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

INSTANTIATE_ON_ENGINES(HostileNameTest);

}  // namespace
