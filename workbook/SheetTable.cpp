#include "workbook/SheetTable.h"

#include <QSet>

#include "base/Field.h"
#include "base/ValueText.h"

namespace {
QString CellText(const SheetCell& cell) {
    return cell.kind == SheetCell::Number ? NumberText(cell.number) : cell.text;
}

// Column names are compared as the sheet engine compares them.
QString NameKey(const QString& name) { return name.toCaseFolded(); }
}  // namespace

QStringList HeaderNames(const QVector<SheetCell>& header) {
    QStringList names;
    for (qsizetype c = 0; c < header.size(); ++c)
        names.append(header[c].kind == SheetCell::Empty ? QString("F%1").arg(c + 1)
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
    if (cell.kind == SheetCell::Empty) return {};
    if (cell.kind == SheetCell::Number && type == TypeCode::Double) return cell.number;
    return CellText(cell);
}

SheetTable BuildSheetTable(int rows, int columns, const std::function<SheetCell(int, int)>& cell) {
    SheetTable table;
    if (rows == 0 || columns == 0) {
        // A table needs a column: a sheet without cells reads as one empty column.
        table.columns = {SheetColumn{"F1", TypeCode::VarWChar, {}}};
        return table;
    }
    QVector<SheetCell> header(columns);
    for (int c = 0; c < columns; ++c) header[c] = cell(0, c);
    const QStringList names = HeaderNames(header);

    QVector<int> numbers(columns), dates(columns), others(columns);
    int lastRecord = 0;  // row of the last record; rows after it hold nothing
    for (int r = 1; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const SheetCell v = cell(r, c);
            if (v.kind == SheetCell::Empty) continue;
            lastRecord = r;
            ++(v.kind == SheetCell::Number ? numbers
               : v.kind == SheetCell::Date ? dates
                                           : others)[c];
        }
    }
    table.rowCount = lastRecord;
    table.columns.resize(columns);
    for (int c = 0; c < columns; ++c) {
        SheetColumn& column = table.columns[c];
        column.name = names[c];
        column.type = ColumnType(numbers[c], dates[c], others[c]);
        column.values.reserve(lastRecord);
        for (int r = 1; r <= lastRecord; ++r)
            column.values.append(ColumnValue(cell(r, c), column.type));
    }
    return table;
}
