#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QVector>

// The editable grid of the window, as a model: data rows and columns from 0,
// row -1 the captions, column -1 the row headers. A Qt view shows it; the
// program and the tests use only the operations below.
class Grid : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kDefaultRowHeight = 18;
    static constexpr int kDropDownList = 5;  // cell type of a drop-down list editor

    explicit Grid(bool hasRowHeaders = true, QObject* parent = nullptr);

    int Rows() const { return static_cast<int>(cells_.size()); }
    void SetRows(int rows);
    int Cols() const { return static_cast<int>(captions_.size()); }
    void SetCols(int cols);
    QString CellText(int row, int col) const;
    void SetCellText(int row, int col, const QString& text);
    void InsertRows(int at, int count);
    void InsertCols(int at, int count);
    void RemoveRows(int at, int count);
    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    void SetColWidthPercent(int col, int percent);
    void SetColWidth(int col, int width);
    void SetColCellType(int col, int type);
    void SetCellType(int row, int col, int type);
    int CellType(int row, int col) const;
    void ComboClear();
    void ComboAddItem(const QString& text);
    void ComboInsertItem(int at, const QString& text) { comboItems_.insert(at, text); }
    const QStringList& ComboItems() const { return comboItems_; }
    void SetListIndex(int index) { listIndex_ = index; }
    int ListIndex() const { return listIndex_; }
    // &HBBGGRR; 0 when never set.
    void SetCellBackColor(int row, int col, int color);
    int CellBackColor(int row, int col) const;
    int Row() const { return currentRow_ < Rows() ? currentRow_ : -1; }
    void SetRow(int row) { currentRow_ = row; }
    bool HasRowHeaders() const { return hasRowHeaders_; }
    // Width settings as last written: col -1 is the row-header column.
    QHash<int, int> ColWidthPercents() const { return widthPercents_; }
    QHash<int, int> ColWidths() const { return widths_; }

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The view applies these to itself.
    void layoutSettingsChanged();
    void rowHeightChanged(int row, int height);

private:
    struct RowData {
        QString header;
        QStringList cells;
        QVector<int> colors;
        QVector<int> types;
        int height = kDefaultRowHeight;
    };
    RowData& At(int row);
    const RowData& At(int row) const;
    void CheckCol(int col) const;

    bool hasRowHeaders_;
    QVector<RowData> cells_;
    QStringList captions_;
    QVector<int> colTypes_;
    QHash<int, int> widthPercents_;
    QHash<int, int> widths_;
    QStringList comboItems_;
    int listIndex_ = -1;
    int currentRow_ = -1;
};
