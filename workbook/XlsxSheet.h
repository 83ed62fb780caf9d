#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QVector>

#include "workbook/DateText.h"
#include "workbook/SheetTable.h"

// What a worksheet's cells need from the rest of the workbook.
struct XlsxSheetContext {
    QVector<QString> sharedStrings;
    QVector<DateKind> cellFormats;  // by cell format index
    bool date1904 = false;
};

// A worksheet's cells that hold a value, kept compact and in row order:
// empty cells, errors and empty texts take no room and do not stretch the
// sheet.
struct XlsxGrid {
    // Rows and columns from A1 to the last that hold a value.
    int Rows() const { return rowStarts.isEmpty() ? 0 : int(rowStarts.size()) - 1; }
    int Columns() const { return columns; }
    SheetCell Cell(int row, int column) const;
    // Each cell in row order, as BuildSheetTable walks them.
    void Visit(const CellVisitor& visit) const;

    // A number, or an index into the shared strings or the texts.
    struct Entry {
        quint32 row;
        quint16 column;
        quint8 kind;  // SheetCell::Kind
        quint8 sharedText;
        union {
            double number;
            quint32 text;
        };
    };
    SheetCell CellOf(const Entry& entry) const;

    QVector<Entry> entries;
    QVector<qsizetype> rowStarts;  // first entry of each row, and the end
    int columns = 0;
    QVector<QString> sharedStrings;
    QVector<QString> texts;  // inline texts, formula texts and date texts
};

// Reads a worksheet part as it streams in. Throws an XlsxFault when it is
// damaged or spans more cells than can be read.
XlsxGrid ReadWorksheet(QIODevice& device, const QString& part, const XlsxSheetContext& context);

// The 0-based row and column of a cell reference such as "B12" (letters in
// either case); false when it is none within the sheet's limits.
bool ParseCellReference(QByteArrayView reference, int& row, int& column);
