#include "workbook/CellGrid.h"

#include <algorithm>

namespace {
// Whether a cell of that kind keeps a text rather than a number.
bool HoldsText(SheetCell::Kind kind) {
    return kind == SheetCell::Text || kind == SheetCell::Date || kind == SheetCell::Error;
}
}  // namespace

SheetCell NumberCell(double value, DateKind kind, bool date1904) {
    SheetCell cell;
    if (const std::optional<QString> date = SerialDateText(value, kind, date1904)) {
        cell.kind = SheetCell::Date;
        cell.text = *date;
    } else {
        cell.kind = SheetCell::Number;
        cell.number = value == 0 ? 0.0 : value;  // no "-0"
    }
    return cell;
}

SheetCell TextCell(const QString& text) {
    SheetCell cell;
    cell.text = text;
    if (!text.isEmpty()) cell.kind = SheetCell::Text;
    return cell;
}

SheetCell BooleanCell(bool value) { return {SheetCell::Boolean, value ? 1.0 : 0.0, {}}; }

SheetCell ErrorCell(const QString& text) { return {SheetCell::Error, 0, text}; }

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
        entry.text = quint32(texts_.size());
        texts_.append(cell.text);
    }
    Append(entry);
}

void CellGrid::AddShared(int row, int column, quint32 index) {
    Entry entry{quint32(row), quint16(column), quint8(SheetCell::Text), true, {0}};
    entry.text = index;
    Append(entry);
}

void CellGrid::Finish() {
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

SheetCell CellGrid::CellOf(const Entry& entry) const {
    SheetCell cell;
    cell.kind = SheetCell::Kind(entry.kind);
    if (HoldsText(cell.kind))
        cell.text = entry.shared ? shared_[entry.text] : texts_[entry.text];
    else
        cell.number = entry.number;
    return cell;
}

SheetCell CellGrid::Cell(int row, int column) const {
    const auto it = std::lower_bound(
        entries_.cbegin(), entries_.cend(), std::pair(row, column), [](const Entry& e, auto at) {
            return int(e.row) != at.first ? int(e.row) < at.first : int(e.column) < at.second;
        });
    if (it == entries_.cend() || int(it->row) != row || it->column != column) return {};
    return CellOf(*it);
}

SheetTable CellGrid::Table() const {
    return BuildSheetTable(rows_, columns_, [this](const CellVisitor& visit) { Visit(visit); });
}

void CellGrid::Visit(const CellVisitor& visit) const {
    for (const Entry& e : entries_) visit(int(e.row), e.column, CellOf(e));
}
