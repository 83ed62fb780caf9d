#pragma once

#include <QTableView>
#include <functional>

#include "base/Grid.h"

// A table view that shows one Grid with its captions, row headers, colours,
// row heights and column widths, edits drop-down cells with a combo box, and
// reports the grid's events to the form through callbacks.
class GridView : public QTableView {
    Q_OBJECT

public:
    using BeforeEdit = std::function<void(int row, int col)>;
    using Event = std::function<void()>;

    explicit GridView(Grid& grid, QWidget* parent = nullptr);

    Grid& Model() const { return grid_; }
    // Before a cell's editor opens; the drop-down entries are read after it.
    void OnBeforeEdit(BeforeEdit handler) { beforeEdit_ = std::move(handler); }
    // After an edit of a cell is committed to the grid.
    void OnAfterEdit(Event handler) { afterEdit_ = std::move(handler); }
    void OnDoubleClick(Event handler) { doubleClick_ = std::move(handler); }

    void RaiseBeforeEdit(int row, int col) const {
        if (beforeEdit_) beforeEdit_(row, col);
    }
    void RaiseAfterEdit() const {
        if (afterEdit_) afterEdit_();
    }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyRowHeight(int row, int height);
    void ApplyRowHeights(int first, int last);
    void ApplyWidths();
    // Widens the row-header column when rows first..last hold a longer
    // row number than it was last made for.
    void NoteRowHeaders(int first, int last);
    int RowHeaderWidth() const;

    Grid& grid_;
    // Characters of the longest row header shown.
    qsizetype longestRowHeader_ = 0;
    BeforeEdit beforeEdit_;
    Event afterEdit_;
    Event doubleClick_;
};
