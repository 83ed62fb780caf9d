#pragma once

#include <QHash>
#include <QStringList>
#include <QVector>

#include "workbook/DateText.h"
#include "workbook/SheetTable.h"

// A cell holding a number shown in a format of that kind: a date where the
// format shows one that can be written, an elapsed duration as its text,
// the number otherwise.
SheetCell NumberCell(double value, DateKind kind, bool date1904);
// A cell holding a text; an empty text is an empty cell.
SheetCell TextCell(const QString& text);
// A cell holding a boolean.
SheetCell BooleanCell(bool value);
// A cell holding an error, by its text as Excel shows it ("#DIV/0!").
SheetCell ErrorCell(const QString& text);

// A sheet's cells as a reader finds them, kept compact since a large sheet
// holds a million: numbers in place, texts by number, and the texts of the
// workbook's shared-string table by their index there. Both readers fill
// one; the sheet's table is built from it.
class CellGrid {
public:
    // What a cell costs in the list, its text aside.
    static constexpr qint64 kCellBytes = 16;

    explicit CellGrid(QStringList shared = {}) : texts_{std::move(shared), {}} {}

    // Widens the sheet to the cell without giving it a value, as a blank
    // cell does.
    void Extend(int row, int column);
    // Adds the cell and widens the sheet to it, unless it is an error: that
    // reads as empty, so it widens the sheet only where the reader says so.
    void Add(int row, int column, const SheetCell& cell);
    // The text at that index of the shared-string table, which must hold it.
    void AddShared(int row, int column, quint32 index);
    // Room for that many cells, so that a large sheet is not copied as it grows.
    void Reserve(qsizetype cells) { entries_.reserve(cells); }
    // Puts cells given out of order in row order; of a cell given twice, the
    // later one counts, as when Excel reads the file.
    void Finish();

    qsizetype Count() const { return entries_.size(); }
    // The bytes it holds, and the bytes its table will take at most.
    qint64 Bytes() const;
    qint64 TableBytes() const;
    // Past the last row and column given.
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    // The cell at that place once Finish ran; empty where none was given.
    SheetCell Cell(int row, int column) const;
    // Each cell in row order once Finish ran.
    void Visit(const std::function<void(int row, int column, const SheetCell& cell)>& visit) const;
    // The sheet as a table once Finish ran.
    SheetTable Table() const;

private:
    // Sixteen bytes: a StoredCell's fields laid out beside the place.
    struct Entry {
        quint32 row;
        quint16 column;
        quint8 kind;
        bool shared;
        union {
            double number;
            quint32 text;
        };
        StoredCell Cell() const;
    };
    void Append(const Entry& entry);

    QVector<Entry> entries_;
    SheetTexts texts_;
    // Each text of the sheet's own kept once, however many cells hold it: a
    // column of repeated inline strings costs one.
    QHash<QString, quint32> ownIndex_;
    qint64 ownChars_ = 0;
    int rows_ = 0;
    int columns_ = 0;
    bool sorted_ = true;
};
