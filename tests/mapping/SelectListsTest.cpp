#include <gtest/gtest.h>

#include "QStringPrinter.h"
#include "base/Grid.h"
#include "mapping/SelectLists.h"

namespace {

std::unique_ptr<Grid> MappingGrid(const QList<QPair<QString, QString>>& rows) {
    auto grid = std::make_unique<Grid>();
    Grid& g = *grid;
    g.SetCols(3);
    g.SetRows(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        g.SetCellText(i, 0, rows[i].first);
        g.SetCellText(i, 1, rows[i].second);
    }
    return grid;
}

struct ListCase {
    QString table;
    QList<QPair<QString, QString>> rows;
    QString sheetBom, sheet, target;
};

class SelectListsTest : public testing::TestWithParam<ListCase> {};

TEST_P(SelectListsTest, CompleteRowsEnterTheListsInOrder) {
    const SelectLists l = BuildSelectLists(*MappingGrid(GetParam().rows), GetParam().table);
    EXPECT_EQ(l.sheetBom, GetParam().sheetBom);
    EXPECT_EQ(l.sheet, GetParam().sheet);
    EXPECT_EQ(l.target, GetParam().target);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SelectListsTest,
    testing::Values(
        ListCase{"INVT_MT_ITEM",
                 {{"Code", "ITEMCODE"}, {"Plu", "PLUCODE"}, {"Name", ""}},
                 "[Code] As [TILL-ITEMCODE],[Plu] As [TILL-PLUCODE]",
                 "[Code] As [TILL-ITEMCODE],[Plu] As [TILL-PLUCODE]",
                 "ITEMCODE,ITEMCODE As PLUCODE"},
        ListCase{"MT_CLASS",
                 {{"Code", "ITEMCODE"}, {"Plu", "PLUCODE"}, {"Name", ""}},
                 "[Code] As [TILL-ITEMCODE],[Plu] As [TILL-PLUCODE]",
                 "[Code] As [TILL-ITEMCODE],[Plu] As [TILL-PLUCODE]",
                 "ITEMCODE,PLUCODE"},
        ListCase{
            "INVT_MT_BOM",
            {{"Group", "BOMGROUPCODE"}, {"Kind", "type"}, {"Comp", "BOMITEMCODE"}},
            "[Group] As [TILL-BOMGROUPCODE],[Kind] As [TILL-type],[Comp] As [TILL-BOMITEMCODE]",
            "[Group] As [TILL-BOMGROUPCODE],[Comp] As [TILL-BOMITEMCODE]",
            "BOMGROUPCODE,BOMITEMCODE"},
        // Texts stand as typed; a row without a sheet column is incomplete.
        ListCase{"MT_ITEM",
                 {{"", "ITEMCODE"}, {" A b ", " plucode "}},
                 "[ A b ] As [TILL- plucode ]",
                 "[ A b ] As [TILL- plucode ]",
                 "ITEMCODE As  plucode "},
        ListCase{"MT_ITEM", {}, "", "", ""},
        // A "]" inside a name is doubled: the name stays one.
        ListCase{"MT_ITEM",
                 {{"Item Name],[Secret", "ITEMNAME"}, {"Weight [kg]", "x]y"}},
                 "[Item Name]],[Secret] As [TILL-ITEMNAME],[Weight [kg]]] As [TILL-x]]y]",
                 "[Item Name]],[Secret] As [TILL-ITEMNAME],[Weight [kg]]] As [TILL-x]]y]",
                 "ITEMNAME,x]y"}));

TEST(SheetQueries, VerifyAndInsertTemplates) {
    const auto gp = MappingGrid({{"Code", "ITEMCODE"}, {"Note", ""}});
    const Grid& g = *gp;
    const SelectLists l = BuildSelectLists(g, "MT_ITEM");
    EXPECT_EQ(SheetColumnList(g), "[Code],[Note]");
    EXPECT_EQ(VerifyQuery("MT_ITEM", "Stock 1", l, SheetColumnList(g)),
              "Select [Code] As [TILL-ITEMCODE],[Code],[Note] From [Stock 1$]");
    EXPECT_EQ(InsertQuery("MT_ITEM", "Stock 1", l),
              "Select [Code] As [TILL-ITEMCODE] From [Stock 1$]");
    const auto bp = MappingGrid({{"G", "BOMGROUPCODE"}, {"T", "TYPE"}});
    const Grid& bom = *bp;
    const SelectLists b = BuildSelectLists(bom, "INVT_MT_BOM");
    EXPECT_EQ(VerifyQuery("INVT_MT_BOM", "Bom", b, SheetColumnList(bom)),
              "Select * From (Select [G] As [TILL-BOMGROUPCODE],[T] As [TILL-TYPE],[G],[T] From "
              "[Bom$]) As [Bom$] Where [TILL-TYPE]='D'");
    EXPECT_EQ(InsertQuery("INVT_MT_BOM", "Bom", b),
              "Select * From (Select [G] As [TILL-BOMGROUPCODE],[T] As [TILL-TYPE] From [Bom$]) As "
              "[Bom$] Where [TILL-TYPE]='D'");
    const auto hp = MappingGrid({{"a]b", "ITEMCODE"}});
    const Grid& hostile = *hp;
    EXPECT_EQ(VerifyQuery("MT_ITEM", "SB$] Union Select 1,2 From [SB",
                          BuildSelectLists(hostile, "MT_ITEM"), SheetColumnList(hostile)),
              "Select [a]]b] As [TILL-ITEMCODE],[a]]b] From [SB$]] Union Select 1,2 From [SB$]");
    EXPECT_EQ(InsertQuery("INVT_MT_BOM", "A]B", BuildSelectLists(hostile, "INVT_MT_BOM")),
              "Select * From (Select [a]]b] As [TILL-ITEMCODE] From [A]]B$]) As [A]]B$] Where "
              "[TILL-TYPE]='D'");
}

TEST(UsedFieldListTest, QuotesEveryMappedColumnInRowOrder) {
    EXPECT_EQ(UsedFieldList(*MappingGrid({{"A", "ITEMCODE"}, {"B", ""}, {"C", "POSDESCRIPTION"}})),
              "'ITEMCODE','POSDESCRIPTION'");
    EXPECT_EQ(UsedFieldList(*MappingGrid({{"A", "X"}, {"B", "X"}})), "'X','X'");
    EXPECT_EQ(UsedFieldList(*MappingGrid({{"A", ""}})), "");
    EXPECT_EQ(UsedFieldList(*MappingGrid({{"A", "ITEMNAME') ; DROP TABLE MT_PLU; --"},
                                          {"B", "O'Neil"},
                                          {"C", QString("nul") + QChar(0) + "name"}})),
              "'ITEMNAME'') ; DROP TABLE MT_PLU; --','O''Neil'");
}

}  // namespace
