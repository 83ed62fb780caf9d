#include "workbook/SheetTable.h"

#include <QSet>

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

QVariant ColumnValue(const SheetCell& cell, int type) {
    if (cell.kind == SheetCell::Error) return ErrorValue(cell.text);
    const SheetCell::Kind kind = RuleKind(cell.kind);
    if (kind == SheetCell::Empty) return {};
    if (kind == SheetCell::Number && type == TypeCode::Double) return cell.number;
    return CellText(cell);
}

SheetTable BuildSheetTable(int rows, int columns, const SheetCells& cells) {
    SheetTable table;
    if (rows == 0 || columns == 0) {
        // A table needs a column: a sheet without cells reads as one empty column.
        table.columns = {SheetColumn{"F1", TypeCode::VarWChar, {}}};
        return table;
    }
    QVector<SheetCell> header(columns);
    QVector<int> numbers(columns), dates(columns), others(columns);
    int lastRecord = 0;  // row of the last record; rows after it hold nothing
    cells([&](int r, int c, const SheetCell& v) {
        const SheetCell::Kind kind = RuleKind(v.kind);
        if (kind == SheetCell::Empty || r >= rows || c >= columns) return;
        if (r == 0) {
            header[c] = v;
            return;
        }
        lastRecord = qMax(lastRecord, r);
        ++(kind == SheetCell::Number ? numbers : kind == SheetCell::Date ? dates : others)[c];
    });
    const QStringList names = HeaderNames(header);
    table.rowCount = lastRecord;
    table.columns.resize(columns);
    for (int c = 0; c < columns; ++c) {
        SheetColumn& column = table.columns[c];
        column.name = names[c];
        column.type = ColumnType(numbers[c], dates[c], others[c]);
        column.values.resize(lastRecord);
    }
    cells([&](int r, int c, const SheetCell& v) {
        if (v.kind == SheetCell::Empty || r == 0 || r > lastRecord || c >= columns) return;
        SheetColumn& column = table.columns[c];
        column.values[r - 1] = ColumnValue(v, column.type);
    });
    return table;
}
