#include "workbook/SheetTable.h"

#include <QSet>
#include <algorithm>
#include <bit>

#include "base/CellError.h"
#include "base/Field.h"
#include "base/ValueText.h"

namespace {
// The kind the sheet's rules read a cell as: a boolean is the number it
// stands for, an error holds no value.
SheetCell::Kind RuleKind(SheetCell::Kind kind) {
    switch (kind) {
        case SheetCell::Boolean:
            return SheetCell::Number;
        case SheetCell::Error:
            return SheetCell::Empty;
        default:
            return kind;
    }
}

}  // namespace

bool HoldsText(SheetCell::Kind kind) {
    return kind == SheetCell::Text || kind == SheetCell::Date || kind == SheetCell::Error;
}

const QString& SheetTexts::Text(const StoredCell& cell) const {
    return cell.shared ? shared[cell.text] : own[cell.text];
}

SheetCell SheetTexts::CellOf(const StoredCell& cell) const {
    SheetCell out;
    out.kind = SheetCell::Kind(cell.kind);
    if (HoldsText(out.kind))
        out.text = Text(cell);
    else
        out.number = cell.number;
    return out;
}

namespace {
QString CellText(const SheetCell& cell) {
    return RuleKind(cell.kind) == SheetCell::Number ? NumberText(cell.number) : cell.text;
}

// Column names are compared as the sheet engine compares them.
QString NameKey(const QString& name) { return name.toCaseFolded(); }
}  // namespace

QStringList HeaderNames(const QVector<SheetCell>& header) {
    QStringList names;
    for (qsizetype c = 0; c < header.size(); ++c)
        names.append(RuleKind(header[c].kind) == SheetCell::Empty ? QString("F%1").arg(c + 1)
                                                                  : CellText(header[c]));
    QSet<QString> given;
    for (const QString& n : names) given.insert(NameKey(n));
    QSet<QString> used;
    for (QString& n : names) {
        if (used.contains(NameKey(n))) {
            QString unique;
            for (int suffix = 1;; ++suffix) {
                unique = n + QString::number(suffix);
                if (!given.contains(NameKey(unique)) && !used.contains(NameKey(unique))) break;
            }
            n = unique;
        }
        used.insert(NameKey(n));
    }
    return names;
}

int ColumnType(int numbers, int dates, int others) {
    if (others == 0 && numbers > 0 && dates == 0) return TypeCode::Double;
    if (others == 0 && dates > 0 && numbers == 0) return TypeCode::Date;
    return TypeCode::VarWChar;
}

namespace {
// A cell's value from its parts, so that a stored cell's text is copied
// once, into the value, and not first into a cell.
QVariant ValueOf(SheetCell::Kind kind, double number, const QString& text, int type) {
    switch (kind) {
        case SheetCell::Empty:
            return {};
        case SheetCell::Error:
            return ErrorValue(text);
        case SheetCell::Number:
        case SheetCell::Boolean:
            return type == TypeCode::Double ? QVariant(number) : QVariant(NumberText(number));
        default:
            return text;
    }
}
}  // namespace

QVariant ColumnValue(const SheetCell& cell, int type) {
    return ValueOf(cell.kind, cell.number, cell.text, type);
}

// Fills one column, record by record in order, dense or sparse as its
// cells are many or few.
class SheetColumnBuilder {
public:
    SheetColumnBuilder(SheetColumn& column, std::shared_ptr<const SheetTexts> texts, int records,
                       int cells)
        : column_(column) {
        column_.texts_ = std::move(texts);
        column_.records_ = records;
        // Kept sparse, a cell costs its row too: worth it below half full.
        sparse_ = qint64(cells) * 2 < records;
        if (sparse_) {
            column_.rows_.reserve(cells);
            column_.kinds_.reserve(cells);
            column_.data_.reserve(cells);
        } else if (cells > 0) {
            column_.kinds_.resize(records);
            column_.data_.resize(records);
        }
    }

    void Put(int record, const StoredCell& cell) {
        const quint8 kind = quint8(cell.kind | (cell.shared ? kSharedBit : 0));
        const quint64 data = HoldsText(SheetCell::Kind(cell.kind))
                                 ? quint64(cell.text)
                                 : std::bit_cast<quint64>(cell.number);
        if (sparse_) {
            column_.rows_.append(quint32(record));
            column_.kinds_.append(kind);
            column_.data_.append(data);
        } else {
            column_.kinds_[record] = kind;
            column_.data_[record] = data;
        }
    }

    static constexpr quint8 kSharedBit = 0x80;

private:
    SheetColumn& column_;
    bool sparse_ = false;
};

StoredCell SheetColumn::CellAt(int record) const {
    qsizetype at = record;
    if (!rows_.isEmpty()) {
        const auto it = std::lower_bound(rows_.cbegin(), rows_.cend(), quint32(record));
        if (it == rows_.cend() || *it != quint32(record)) return {};
        at = it - rows_.cbegin();
    } else if (record < 0 || record >= kinds_.size()) {
        return {};
    }
    StoredCell cell;
    cell.kind = kinds_[at] & ~SheetColumnBuilder::kSharedBit;
    cell.shared = kinds_[at] & SheetColumnBuilder::kSharedBit;
    if (HoldsText(SheetCell::Kind(cell.kind)))
        cell.text = quint32(data_[at]);
    else
        cell.number = std::bit_cast<double>(data_[at]);
    return cell;
}

QVariant SheetColumn::Value(int record) const {
    static const QString kNoText;
    const StoredCell cell = CellAt(record);
    const SheetCell::Kind kind = SheetCell::Kind(cell.kind);
    return ValueOf(kind, cell.number, HoldsText(kind) ? texts_->Text(cell) : kNoText, type);
}

QVector<QVariant> SheetColumn::Values() const {
    QVector<QVariant> values;
    values.reserve(records_);
    for (int r = 0; r < records_; ++r) values.append(Value(r));
    return values;
}

qsizetype SheetColumn::Bytes() const {
    return rows_.size() * qsizetype(sizeof(quint32)) + kinds_.size() +
           data_.size() * qsizetype(sizeof(quint64));
}

qsizetype SheetTable::Bytes() const {
    qsizetype bytes = 0;
    for (const SheetColumn& column : columns) bytes += column.Bytes();
    return bytes;
}

SheetTable BuildSheetTable(int rows, int columns, std::shared_ptr<const SheetTexts> texts,
                           const StoredCells& cells) {
    SheetTable table;
    if (rows == 0 || columns == 0) {
        // A table needs a column: a sheet without cells reads as one empty column.
        table.columns = {SheetColumn{}};
        table.columns[0].name = "F1";
        table.columns[0].type = TypeCode::VarWChar;
        return table;
    }
    QVector<SheetCell> header(columns);
    QVector<int> numbers(columns), dates(columns), others(columns), kept(columns);
    int lastRecord = 0;  // row of the last record; rows after it hold nothing
    cells([&](int r, int c, const StoredCell& v) {
        if (r >= rows || c >= columns || v.kind == SheetCell::Empty) return;
        if (r > 0) ++kept[c];
        const SheetCell::Kind kind = RuleKind(SheetCell::Kind(v.kind));
        if (kind == SheetCell::Empty) return;
        if (r == 0) {
            header[c] = texts->CellOf(v);
            return;
        }
        lastRecord = qMax(lastRecord, r);
        ++(kind == SheetCell::Number ? numbers : kind == SheetCell::Date ? dates : others)[c];
    });
    const QStringList names = HeaderNames(header);
    table.rowCount = lastRecord;
    table.columns.resize(columns);
    std::vector<SheetColumnBuilder> builders;
    builders.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        SheetColumn& column = table.columns[c];
        column.name = names[c];
        column.type = ColumnType(numbers[c], dates[c], others[c]);
        builders.emplace_back(column, texts, lastRecord, kept[c]);
    }
    cells([&](int r, int c, const StoredCell& v) {
        if (v.kind == SheetCell::Empty || r == 0 || r > lastRecord || c >= columns) return;
        builders[c].Put(r - 1, v);
    });
    return table;
}
