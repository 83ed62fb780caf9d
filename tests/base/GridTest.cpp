#include <gtest/gtest.h>

#include "base/AppError.h"
#include "base/Grid.h"

namespace {

TEST(GridTest, RowsAndColumnsGrowAndShrinkKeepingTexts) {
    Grid g;
    EXPECT_EQ(g.Row(), -1);
    g.SetCols(3);
    g.SetRows(2);
    g.SetCellText(-1, 1, "TILL Field");
    g.SetCellText(1, 2, "202");
    g.SetCellText(1, -1, "3");
    g.InsertRows(0, 1);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.CellText(2, 2), "202");
    EXPECT_EQ(g.CellText(2, -1), "3");
    g.InsertCols(g.Cols(), 1);
    EXPECT_EQ(g.CellText(-1, 1), "TILL Field");
    EXPECT_EQ(g.CellText(2, 3), "");
    g.RemoveRows(g.Rows() - 1, 1);
    EXPECT_EQ(g.Rows(), 2);
    g.SetCols(0);
    EXPECT_EQ(g.Cols(), 0);
    EXPECT_EQ(g.Rows(), 2);
    g.SetRows(0);
    EXPECT_EQ(g.Rows(), 0);
}

TEST(GridTest, AHiddenRowStillCountsAndKeepsItsText) {
    Grid g(false);
    g.SetCols(1);
    g.InsertRows(0, 2);
    g.SetCellText(1, 0, "CLASSCODE");
    EXPECT_EQ(g.RowHeight(1), Grid::kDefaultRowHeight);
    g.SetRowHeight(1, 0);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.RowHeight(1), 0);
    EXPECT_EQ(g.CellText(1, 0), "CLASSCODE");
}

TEST(GridTest, CellTypeFallsBackToTheColumnAndColoursAreKeptPerCell) {
    Grid g;
    g.SetCols(2);
    g.SetRows(2);
    g.SetColCellType(1, Grid::kDropDownList);
    g.SetCellType(0, 0, Grid::kDropDownList);
    EXPECT_EQ(g.CellType(0, 0), Grid::kDropDownList);
    EXPECT_EQ(g.CellType(1, 0), 0);
    EXPECT_EQ(g.CellType(1, 1), Grid::kDropDownList);
    g.SetCellBackColor(1, 0, 0xFFC0FF);
    EXPECT_EQ(g.CellBackColor(1, 0), 0xFFC0FF);
    EXPECT_EQ(g.CellBackColor(0, 0), 0);
}

TEST(GridTest, DropDownEntriesAndListIndex) {
    Grid g;
    g.ComboAddItem("");
    g.ComboAddItem("ITEMCODE");
    g.SetListIndex(0);
    EXPECT_EQ(g.ComboItems(), QStringList({"", "ITEMCODE"}));
    EXPECT_EQ(g.ListIndex(), 0);
    g.ComboClear();
    EXPECT_TRUE(g.ComboItems().isEmpty());
}

TEST(GridTest, OutOfRangeAccessRaisesTheGridError) {
    Grid g;
    g.SetCols(1);
    EXPECT_THROW(g.CellText(0, 0), AppError);
    g.SetRows(1);
    EXPECT_THROW(g.CellText(0, 1), AppError);
    EXPECT_THROW(g.RemoveRows(0, 2), AppError);
}

}  // namespace
