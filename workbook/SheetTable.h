#pragma once

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

// One cell as the workbook holds it, before the sheet's rules apply. The
// rules read a boolean as the number 1 or 0 and an error as an empty cell;
// the cell keeps what it was for those who show the sheet as Excel does.
struct SheetCell {
    enum Kind { Empty, Number, Text, Date, Boolean, Error };
    Kind kind = Empty;
    double number = 0;  // a number; a boolean as 1 or 0
    QString text;       // the text, a date as "yyyy-mm-dd[ hh:mm:ss]", an error as "#DIV/0!"
};

// A sheet column: its name, its type code (5 numbers, 7 dates, 202 text)
// and one value per record (null for an empty cell).
struct SheetColumn {
    QString name;
    int type = 0;
    QVector<QVariant> values;
};

// A sheet read as a table: the first row names the columns, every later row
// up to the last one holding a value is a record.
struct SheetTable {
    QVector<SheetColumn> columns;
    int rowCount = 0;
};

// Calls its visitor with each cell of a sheet that holds a value, its row
// and column 0-based, in any order.
using CellVisitor = std::function<void(int row, int column, const SheetCell& cell)>;
using SheetCells = std::function<void(const CellVisitor& visit)>;

// Builds the table from a sheet's cells within `rows` rows and `columns`
// columns, walked twice (once to find the records and the types, once for
// the values), so that nothing is copied first and no cell is looked up.
SheetTable BuildSheetTable(int rows, int columns, const SheetCells& cells);

// The column names of a header row: an empty cell is named "F" + its
// 1-based column number; a repeated name (letter case ignored) gets the
// lowest number suffix that makes it unique.
QStringList HeaderNames(const QVector<SheetCell>& header);

// The type code of a column from all its values: only numbers 5, only dates
// 7, anything else (mixed, or no value at all) 202.
int ColumnType(int numbers, int dates, int others);

// A cell's value in a column of that type: a number stays a number in a
// number column and reads as its text elsewhere; dates and texts are text;
// an error is an error value.
QVariant ColumnValue(const SheetCell& cell, int type);
