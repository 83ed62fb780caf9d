#include "base/Grid.h"

#include <QColor>

#include "base/AppError.h"
#include "base/BgrColor.h"

namespace {
// The grid component's "subscript out of range".
constexpr qint32 kOutOfRange = 381;
}  // namespace

Grid::Grid(bool hasRowHeaders, QObject* parent)
    : QAbstractTableModel(parent), hasRowHeaders_(hasRowHeaders) {}

Grid::RowData& Grid::At(int row) {
    if (row < 0 || row >= Rows())
        throw AppError(kOutOfRange, QString("Invalid row index %1").arg(row));
    return cells_[row];
}

const Grid::RowData& Grid::At(int row) const { return const_cast<Grid*>(this)->At(row); }

void Grid::CheckCol(int col) const {
    if (col < 0 || col >= Cols())
        throw AppError(kOutOfRange, QString("Invalid column index %1").arg(col));
}

void Grid::SetRows(int rows) {
    if (rows < 0) throw AppError(kOutOfRange, QString("Invalid row count %1").arg(rows));
    if (rows > Rows())
        InsertRows(Rows(), rows - Rows());
    else if (rows < Rows())
        RemoveRows(rows, Rows() - rows);
}

void Grid::SetCols(int cols) {
    if (cols < 0) throw AppError(kOutOfRange, QString("Invalid column count %1").arg(cols));
    if (cols > Cols()) {
        InsertCols(Cols(), cols - Cols());
    } else if (cols < Cols()) {
        beginRemoveColumns({}, cols, Cols() - 1);
        captions_.resize(cols);
        colTypes_.resize(cols);
        for (RowData& r : cells_) {
            r.cells.resize(cols);
            r.colors.resize(cols);
            r.types.resize(cols);
        }
        endRemoveColumns();
    }
}

QString Grid::CellText(int row, int col) const {
    if (row == -1) {
        if (col == -1) return {};
        CheckCol(col);
        return captions_[col];
    }
    const RowData& r = At(row);
    if (col == -1) return r.header;
    CheckCol(col);
    return r.cells[col];
}

void Grid::SetCellText(int row, int col, const QString& text) {
    if (row == -1) {
        CheckCol(col);
        captions_[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    RowData& r = At(row);
    if (col == -1) {
        r.header = text;
        emit headerDataChanged(Qt::Vertical, row, row);
        return;
    }
    CheckCol(col);
    r.cells[col] = text;
    emit dataChanged(index(row, col), index(row, col), {Qt::DisplayRole, Qt::EditRole});
}

void Grid::InsertRows(int at, int count) {
    if (at < 0 || at > Rows() || count < 0)
        throw AppError(kOutOfRange, QString("Invalid row position %1").arg(at));
    if (count == 0) return;
    beginInsertRows({}, at, at + count - 1);
    RowData blank;
    blank.cells = QStringList(Cols(), QString());
    blank.colors = QVector<int>(Cols(), 0);
    blank.types = QVector<int>(Cols(), -1);
    cells_.insert(at, count, blank);
    endInsertRows();
}

void Grid::InsertCols(int at, int count) {
    if (at < 0 || at > Cols() || count < 0)
        throw AppError(kOutOfRange, QString("Invalid column position %1").arg(at));
    if (count == 0) return;
    beginInsertColumns({}, at, at + count - 1);
    for (int i = 0; i < count; ++i) {
        captions_.insert(at, QString());
        colTypes_.insert(at, 0);
        for (RowData& r : cells_) {
            r.cells.insert(at, QString());
            r.colors.insert(at, 0);
            r.types.insert(at, -1);
        }
    }
    endInsertColumns();
}

void Grid::RemoveRows(int at, int count) {
    if (at < 0 || count < 0 || at + count > Rows())
        throw AppError(kOutOfRange, QString("Invalid row position %1").arg(at));
    if (count == 0) return;
    beginRemoveRows({}, at, at + count - 1);
    cells_.remove(at, count);
    endRemoveRows();
}

int Grid::RowHeight(int row) const { return At(row).height; }

void Grid::SetRowHeight(int row, int height) {
    At(row).height = height;
    emit rowHeightChanged(row, height);
}

void Grid::SetColWidthPercent(int col, int percent) {
    widthPercents_[col] = percent;
    emit layoutSettingsChanged();
}

void Grid::SetColWidth(int col, int width) {
    widths_[col] = width;
    emit layoutSettingsChanged();
}

void Grid::SetColCellType(int col, int type) {
    CheckCol(col);
    colTypes_[col] = type;
}

void Grid::SetCellType(int row, int col, int type) {
    CheckCol(col);
    At(row).types[col] = type;
}

int Grid::CellType(int row, int col) const {
    CheckCol(col);
    const int own = At(row).types[col];
    return own >= 0 ? own : colTypes_[col];
}

void Grid::ComboClear() {
    comboItems_.clear();
    listIndex_ = -1;
}

void Grid::ComboAddItem(const QString& text) { comboItems_.append(text); }

void Grid::SetCellBackColor(int row, int col, int color) {
    CheckCol(col);
    At(row).colors[col] = color;
    emit dataChanged(index(row, col), index(row, col), {Qt::BackgroundRole});
}

int Grid::CellBackColor(int row, int col) const {
    CheckCol(col);
    return At(row).colors[col];
}

int Grid::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Rows(); }

int Grid::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Cols(); }

QVariant Grid::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const RowData& r = cells_[index.row()];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return r.cells[index.column()];
        case Qt::BackgroundRole:
            return r.colors[index.column()] ? QVariant(FromBgr(r.colors[index.column()]))
                                            : QVariant();
        default:
            return {};
    }
}

bool Grid::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    SetCellText(index.row(), index.column(), value.toString());
    return true;
}

QVariant Grid::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return section < Cols() ? QVariant(captions_[section]) : QVariant();
    return section < Rows() ? QVariant(cells_[section].header) : QVariant();
}

Qt::ItemFlags Grid::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}
