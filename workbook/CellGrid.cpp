#include "workbook/CellGrid.h"

#include <algorithm>

SheetCell NumberCell(double value, DateKind kind, bool date1904) {
    if (kind == DateKind::Date) {
        if (const std::optional<QString> date = SerialDateText(value, date1904))
            return {SheetCell::Date, 0, *date};
    } else if (kind != DateKind::None) {
        if (const std::optional<QString> duration = ElapsedText(value, kind))
            return {SheetCell::Text, 0, *duration};
    }
    return {SheetCell::Number, value == 0 ? 0.0 : value, {}};  // no "-0"
}

SheetCell TextCell(const QString& text) {
    SheetCell cell;
    cell.text = text;
    if (!text.isEmpty()) cell.kind = SheetCell::Text;
    return cell;
}

SheetCell BooleanCell(bool value) { return {SheetCell::Boolean, value ? 1.0 : 0.0, {}}; }

SheetCell ErrorCell(const QString& text) { return {SheetCell::Error, 0, text}; }

StoredCell CellGrid::Entry::Cell() const {
    static_assert(sizeof(Entry) == kCellBytes);
    StoredCell cell;
    cell.kind = kind;
    cell.shared = shared;
    if (HoldsText(SheetCell::Kind(kind)))
        cell.text = text;
    else
        cell.number = number;
    return cell;
}

void CellGrid::Extend(int row, int column) {
    rows_ = qMax(rows_, row + 1);
    columns_ = qMax(columns_, column + 1);
}

void CellGrid::Append(const Entry& entry) {
    if (entry.kind != SheetCell::Error) Extend(int(entry.row), entry.column);
    if (!entries_.isEmpty()) {
        const Entry& last = entries_.last();
        if (last.row > entry.row || (last.row == entry.row && last.column >= entry.column))
            sorted_ = false;
    }
    entries_.append(entry);
}

void CellGrid::Add(int row, int column, const SheetCell& cell) {
    Entry entry{quint32(row), quint16(column), quint8(cell.kind), false, {cell.number}};
    if (HoldsText(cell.kind)) {
        auto at = ownIndex_.constFind(cell.text);
        if (at == ownIndex_.constEnd()) {
            at = ownIndex_.insert(cell.text, quint32(texts_.own.size()));
            texts_.own.append(cell.text);
            ownChars_ += cell.text.size();
        }
        entry.text = *at;
    }
    Append(entry);
}

void CellGrid::AddShared(int row, int column, quint32 index) {
    Entry entry{quint32(row), quint16(column), quint8(SheetCell::Text), true, {0}};
    entry.text = index;
    Append(entry);
}

void CellGrid::Finish() {
    ownIndex_ = {};
    if (sorted_) return;
    const auto place = [](const Entry& e) { return quint64(e.row) << 16 | e.column; };
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&](const Entry& a, const Entry& b) { return place(a) < place(b); });
    QVector<Entry> unique;
    unique.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        if (!unique.isEmpty() && place(unique.last()) == place(entry))
            unique.last() = entry;
        else
            unique.append(entry);
    }
    entries_ = std::move(unique);
    sorted_ = true;
}

SheetCell CellGrid::Cell(int row, int column) const {
    const auto it = std::lower_bound(
        entries_.cbegin(), entries_.cend(), std::pair(row, column), [](const Entry& e, auto at) {
            return int(e.row) != at.first ? int(e.row) < at.first : int(e.column) < at.second;
        });
    if (it == entries_.cend() || int(it->row) != row || it->column != column) return {};
    return texts_.CellOf(it->Cell());
}

qint64 CellGrid::Bytes() const {
    // A text costs its characters and about 40 bytes besides (its list
    // entry, header and allocation), and as many again in the index while
    // the sheet is read.
    return entries_.capacity() * kCellBytes + texts_.own.size() * 80 + ownChars_ * 2;
}

qint64 CellGrid::TableBytes() const {
    // Nine bytes a record of a column, or thirteen a cell kept sparse.
    return qMin(qint64(rows_) * columns_ * 9, Count() * 13);
}

SheetTable CellGrid::Table() const {
    return BuildSheetTable(rows_, columns_, std::make_shared<SheetTexts>(texts_),
                           [this](const StoredCellVisitor& visit) {
                               for (const Entry& e : entries_)
                                   visit(int(e.row), e.column, e.Cell());
                           });
}

void CellGrid::Visit(
    const std::function<void(int row, int column, const SheetCell& cell)>& visit) const {
    for (const Entry& e : entries_) visit(int(e.row), e.column, texts_.CellOf(e.Cell()));
}
