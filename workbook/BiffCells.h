#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <QVector>
#include <optional>

#include "workbook/BiffGlobals.h"
#include "workbook/BiffStream.h"
#include "workbook/SheetTable.h"

// What the workbook's global records give every sheet's cells.
struct BiffBook {
    BiffGlobals& globals;       // formats and code page; a sheet's own records add to them
    const QStringList& shared;  // the shared-string table
    bool date1904 = false;
};

// One cell, kept compact: a large sheet holds a million of them.
struct BiffCell {
    quint32 key;      // CellKey
    quint8 kind;      // SheetCell::Kind
    bool sharedText;  // a text of the shared-string table, not of the sheet's texts
    union {
        double number;
        quint32 text;  // index of the text
    };
};

// One sheet's cells as its records hold them.
struct BiffCells {
    QVector<BiffCell> cells;  // by key, one entry a cell
    QStringList texts;        // texts not shared: labels, dates, formula results
    int rows = 0;             // past the last row and column with a cell record,
    int columns = 0;          // blank cells included
    QString unreadable;       // the first cell that cannot be read, if any

    SheetCell CellOf(const BiffCell& cell, const QStringList& shared) const;
};

// Reads the sheet whose BOF record stands at that position of the workbook
// stream, up to its EOF (charts embedded in it nest their own BOF and EOF).
// budget bounds the bytes all sheets may walk together, since a forged sheet
// list can send every sheet through the whole stream; none once spent, or
// when no BOF stands there.
std::optional<BiffCells> ReadBiffCells(QByteArrayView stream, qsizetype at, const BiffBook& book,
                                       qsizetype& budget);

// The BIFF version a BOF record announces (2, 3, 4, 5 or 8); 0 for any other record.
int BofVersion(const BiffRecord& record);
