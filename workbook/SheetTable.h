#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

// One cell as the workbook holds it, before the sheet's rules apply. The
// rules read a boolean as the number 1 or 0 and an error as an empty cell;
// the cell keeps what it was for those who show the sheet as Excel does.
struct SheetCell {
    enum Kind { Empty, Number, Text, Date, Boolean, Error };
    Kind kind = Empty;
    double number = 0;  // a number; a boolean as 1 or 0
    QString text;       // the text, a date as "yyyy-mm-dd[ hh:mm:ss]", an error as "#DIV/0!"
};

// Whether a cell of that kind keeps a text rather than a number.
bool HoldsText(SheetCell::Kind kind);

// A cell as a sheet stores it, in eight bytes and a kind: its number, or
// where its text is. A large sheet holds millions; a text is not copied
// into each.
struct StoredCell {
    quint8 kind = SheetCell::Empty;  // SheetCell::Kind
    bool shared = false;             // the text is in the shared-string table
    union {
        double number = 0;
        quint32 text;  // the text's index in the shared or the sheet's own texts
    };
};

// The texts a sheet's cells point to: the workbook's shared-string table
// (its copies cost nothing) and the sheet's own (labels, dates, results).
struct SheetTexts {
    QStringList shared;
    QStringList own;

    // The text of a cell that holds one.
    const QString& Text(const StoredCell& cell) const;
    SheetCell CellOf(const StoredCell& cell) const;
};

// A sheet column: its name, its type code (5 numbers, 7 dates, 202 text)
// and one value per record (null for an empty cell). The values are kept
// as their cells, nine bytes a record, or for a column of few cells those
// cells and their rows alone, so that a sheet costs by its cells rather
// than by the rectangle they span; a value is made when it is read.
class SheetColumn {
public:
    QString name;
    int type = 0;

    // The value of record r (0-based): a number in a number column, text
    // elsewhere, an error value for an error, null for an empty cell.
    QVariant Value(int record) const;
    // Every record's value, in order.
    QVector<QVariant> Values() const;
    // The bytes its values take.
    qsizetype Bytes() const;

private:
    friend class SheetColumnBuilder;
    StoredCell CellAt(int record) const;

    std::shared_ptr<const SheetTexts> texts_;
    int records_ = 0;
    QVector<quint32> rows_;  // records of the cells kept, when only those are kept
    QVector<quint8> kinds_;  // kind, and 0x80 for a shared text
    QVector<quint64> data_;  // the number's bits or the text's index
};

// A sheet read as a table: the first row names the columns, every later row
// up to the last one holding a value is a record.
struct SheetTable {
    QVector<SheetColumn> columns;
    int rowCount = 0;

    // The bytes its columns' values take.
    qsizetype Bytes() const;
};

// Calls its visitor with each cell of a sheet that holds a value, its row
// and column 0-based, in row order.
using StoredCellVisitor = std::function<void(int row, int column, const StoredCell& cell)>;
using StoredCells = std::function<void(const StoredCellVisitor& visit)>;

// Builds the table from a sheet's cells within `rows` rows and `columns`
// columns, walked twice (once to find the records and the types, once for
// the values), so that nothing is copied first and no cell is looked up.
SheetTable BuildSheetTable(int rows, int columns, std::shared_ptr<const SheetTexts> texts,
                           const StoredCells& cells);

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
