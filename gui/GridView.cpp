#include "gui/GridView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

namespace {

// Typing in a closed drop-down searches its entries by the whole prefix
// typed, case aside, without choosing one: a combo box on its own would
// take each letter as a choice, ending the edit at the first. Enter
// commits and Esc brings the old value back, as in any cell.
class TypeAhead : public QObject {
public:
    explicit TypeAhead(QComboBox& combo) : QObject(&combo), combo_(combo) {
        combo.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text[0].isPrint() || key->modifiers() & ~Qt::ShiftModifier)
            return false;
        if (!typed_.isValid() || typed_.elapsed() > QApplication::keyboardInputInterval())
            prefix_.clear();
        typed_.start();
        prefix_ += text;
        const int found = combo_.findText(prefix_, Qt::MatchStartsWith);
        if (found >= 0) {
            const QSignalBlocker quiet(combo_);
            combo_.setCurrentIndex(found);
        }
        return true;
    }

private:
    QComboBox& combo_;
    QString prefix_;
    QElapsedTimer typed_;
};

// Drop-down cells edit through a combo box holding the grid's entries; every
// other cell through the standard editor.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView& view) : QStyledItemDelegate(&view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        view_.RaiseBeforeEdit(index.row(), index.column());
        if (!IsDropDown(index)) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(view_.Model().ComboItems());
        new TypeAhead(*combo);
        // A choice in the list is the end of the edit.
        auto* self = const_cast<GridDelegate*>(this);
        connect(combo, &QComboBox::activated, self, [self, combo] {
            emit self->commitData(combo);
            emit self->closeEditor(combo);
        });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor); combo && IsDropDown(index))
            combo->setCurrentIndex(view_.Model().ListIndex());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor); combo && IsDropDown(index)) {
            view_.Model().SetListIndex(combo->currentIndex());
            model->setData(index, combo->currentText());
        } else {
            QStyledItemDelegate::setModelData(editor, model, index);
        }
        view_.RaiseAfterEdit();
    }

private:
    bool IsDropDown(const QModelIndex& index) const {
        return view_.Model().CellType(index.row(), index.column()) == Grid::kDropDownList;
    }

    GridView& view_;
};

}  // namespace

GridView::GridView(Grid& grid, QWidget* parent) : QTableView(parent), grid_(grid) {
    setModel(&grid_);
    setItemDelegate(new GridDelegate(*this));
    // Tab leaves the grid for the next control, as on the rest of the form.
    setTabKeyNavigation(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(Grid::kDefaultRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setVisible(grid_.HasRowHeaders());

    connect(&grid_, &Grid::rowHeightChanged, this, &GridView::ApplyRowHeight);
    connect(&grid_, &Grid::layoutSettingsChanged, this, &GridView::ApplyWidths);
    connect(&grid_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                ApplyRowHeights(first, last);
                NoteRowHeaders(first, last);
            });
    connect(&grid_, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation, int first, int last) {
                if (orientation == Qt::Vertical) NoteRowHeaders(first, last);
            });
    connect(&grid_, &QAbstractItemModel::columnsInserted, this, &GridView::ApplyWidths);
    connect(&grid_, &QAbstractItemModel::modelReset, this, [this] {
        ApplyRowHeights(0, grid_.Rows() - 1);
        longestRowHeader_ = 0;
        NoteRowHeaders(0, grid_.Rows() - 1);
        ApplyWidths();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                grid_.SetRow(current.isValid() ? current.row() : -1);
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] {
        if (doubleClick_) doubleClick_();
    });
    ApplyRowHeights(0, grid_.Rows() - 1);
    ApplyWidths();
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ApplyWidths();
}

void GridView::ApplyRowHeight(int row, int height) {
    setRowHidden(row, height == 0);
    if (height > 0) setRowHeight(row, height);
}

void GridView::ApplyRowHeights(int first, int last) {
    for (int row = first; row <= last; ++row) ApplyRowHeight(row, grid_.RowHeight(row));
}

// Shares are of the whole grid width, the row-header column included, so that
// shares summing to 100 fill the grid exactly.
void GridView::ApplyWidths() {
    const QScrollBar* bar = verticalScrollBar();
    const int whole = contentsRect().width() - (bar->isVisible() ? bar->width() : 0);
    const auto apply = [this](int col, int width) {
        if (col == -1) {
            if (grid_.HasRowHeaders())
                verticalHeader()->setFixedWidth(std::max(width, RowHeaderWidth()));
        } else if (col >= 0 && col < grid_.Cols()) {
            setColumnWidth(col, width);
        }
    };
    const QHash<int, int> percents = grid_.ColWidthPercents();
    for (auto it = percents.begin(); it != percents.end(); ++it)
        apply(it.key(), whole * it.value() / 100);
    const QHash<int, int> widths = grid_.ColWidths();
    for (auto it = widths.begin(); it != widths.end(); ++it) apply(it.key(), it.value());
}

void GridView::NoteRowHeaders(int first, int last) {
    qsizetype longest = longestRowHeader_;
    for (int row = std::max(first, 0); row <= last && row < grid_.Rows(); ++row)
        longest = std::max(longest, grid_.CellText(row, -1).size());
    if (longest == longestRowHeader_) return;
    longestRowHeader_ = longest;
    ApplyWidths();
}

// The width a row number of that many digits takes in a header section, so
// that no row number of a full sheet (65,536 rows) is cut.
int GridView::RowHeaderWidth() const {
    if (longestRowHeader_ == 0) return 0;
    QStyleOptionHeader option;
    option.initFrom(verticalHeader());
    option.orientation = Qt::Vertical;
    option.text = QString(longestRowHeader_, u'0');
    return style()
        ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), verticalHeader())
        .width();
}
