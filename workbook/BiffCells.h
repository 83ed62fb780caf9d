#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <QVector>
#include <optional>

#include "workbook/BiffGlobals.h"
#include "workbook/BiffStream.h"
#include "workbook/CellGrid.h"

// What the workbook's global records give every sheet's cells.
struct BiffBook {
    BiffGlobals& globals;       // formats and code page; a sheet's own records add to them
    const QStringList& shared;  // the shared-string table
    bool date1904 = false;
};

// One sheet's cells as its records hold them.
struct BiffCells {
    CellGrid grid;       // blank and formula cells widen it too
    QString unreadable;  // the first cell that cannot be read, if any
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
