#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "QStringPrinter.h"
#include "gui/GridView.h"

namespace {

// A shown view over a grid of three rows and three columns.
class GridViewTest : public testing::Test {
protected:
    void SetUp() override {
        grid.SetCols(3);
        grid.SetRows(3);
        view.resize(400, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QColor PixelAt(int row, int col) {
        const QImage shot = view.viewport()->grab().toImage();
        const QPoint centre = view.visualRect(grid.index(row, col)).center();
        return shot.pixelColor(centre * shot.devicePixelRatio());
    }

    Grid grid;
    GridView view{grid};
};

TEST_F(GridViewTest, CaptionsAndRowHeadersAreTheHeaders) {
    grid.SetCellText(-1, 1, "TILL Field");
    grid.SetCellText(2, -1, "14");
    EXPECT_EQ(view.horizontalHeader()->model()->headerData(1, Qt::Horizontal), "TILL Field");
    EXPECT_EQ(view.verticalHeader()->model()->headerData(2, Qt::Vertical), "14");
    EXPECT_TRUE(view.verticalHeader()->isVisible());

    Grid rules(false);
    GridView hidden(rules);
    hidden.show();
    EXPECT_FALSE(hidden.verticalHeader()->isVisible());
}

TEST_F(GridViewTest, RowHeightsFollowTheGridAndZeroHidesARow) {
    EXPECT_EQ(view.rowHeight(0), Grid::kDefaultRowHeight);
    grid.SetRowHeight(1, 0);
    EXPECT_TRUE(view.isRowHidden(1));
    EXPECT_EQ(grid.Rows(), 3);
    grid.SetRowHeight(1, 30);
    EXPECT_FALSE(view.isRowHidden(1));
    EXPECT_EQ(view.rowHeight(1), 30);
    grid.InsertRows(0, 1);
    EXPECT_EQ(view.rowHeight(0), Grid::kDefaultRowHeight);
    EXPECT_EQ(view.rowHeight(2), 30);
}

TEST_F(GridViewTest, BackColoursArePainted) {
    grid.SetCellText(0, 1, "");
    grid.SetCellBackColor(0, 1, 0xC0C0FF);
    grid.SetCellBackColor(2, 0, 0xFFC0FF);
    EXPECT_EQ(PixelAt(0, 1), QColor(0xFF, 0xC0, 0xC0));
    EXPECT_EQ(PixelAt(2, 0), QColor(0xFF, 0xC0, 0xFF));
    EXPECT_NE(PixelAt(1, 1), QColor(0xFF, 0xC0, 0xC0));
}

TEST_F(GridViewTest, WidthSharesDivideTheWholeGridAndAbsoluteWidthsArePixels) {
    const int whole = view.contentsRect().width();
    grid.SetColWidthPercent(-1, 5);
    grid.SetColWidthPercent(0, 45);
    grid.SetColWidthPercent(1, 50);
    EXPECT_EQ(view.verticalHeader()->width(), whole * 5 / 100);
    EXPECT_EQ(view.columnWidth(0), whole * 45 / 100);
    EXPECT_EQ(view.columnWidth(1), whole * 50 / 100);
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible() && view.columnWidth(2) == 0);

    view.resize(600, 200);
    EXPECT_EQ(view.columnWidth(0), view.contentsRect().width() * 45 / 100);

    grid.SetColWidth(2, 150);
    EXPECT_EQ(view.columnWidth(2), 150);
}

TEST_F(GridViewTest, ADropDownCellEditsThroughTheGridsEntries) {
    grid.SetColCellType(1, Grid::kDropDownList);
    QList<QPoint> before;
    int after = 0;
    view.OnBeforeEdit([&](int row, int col) {
        before << QPoint(col, row);
        grid.ComboClear();
        for (const char* item : {"", "ITEMCODE", "POSDESCRIPTION"}) grid.ComboAddItem(item);
        grid.SetListIndex(0);
    });
    view.OnAfterEdit([&] { ++after; });

    view.edit(grid.index(2, 1));
    auto* combo = view.findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(before, QList<QPoint>{QPoint(1, 2)});
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(after, 0);

    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(grid.CellText(2, 1), "POSDESCRIPTION");
    EXPECT_EQ(grid.ListIndex(), 2);
    EXPECT_EQ(after, 1);
}

TEST_F(GridViewTest, ATextCellEditsAsTextAndReportsTheCommit) {
    int before = 0;
    int after = 0;
    view.OnBeforeEdit([&](int, int) { ++before; });
    view.OnAfterEdit([&] {
        ++after;
        EXPECT_EQ(grid.CellText(0, 0), "Code");  // committed before the event
    });
    view.setFocus();
    view.edit(grid.index(0, 0));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(view.findChild<QComboBox*>(), nullptr);
    editor->setText("Code");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits on the next turn
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
}

TEST_F(GridViewTest, DoubleClickAndTheCurrentRowReachTheGrid) {
    int clicks = 0;
    view.OnDoubleClick([&] { ++clicks; });
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QPoint cell = view.visualRect(grid.index(1, 0)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(grid.Row(), 1);
    view.setCurrentIndex(grid.index(2, 2));
    EXPECT_EQ(grid.Row(), 2);
}

}  // namespace
