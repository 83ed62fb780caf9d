#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QVector>

#include "workbook/CellGrid.h"
#include "workbook/DateText.h"

// What a worksheet's cells need from the rest of the workbook.
struct XlsxSheetContext {
    QVector<QString> sharedStrings;
    QVector<DateKind> cellFormats;  // by cell format index
    bool date1904 = false;
};

// Reads a worksheet part as it streams in: only cells that hold a value,
// so empty cells, errors and empty texts do not stretch the sheet. Throws an
// XlsxFault when it is damaged, a MemoryShortfall when its cells will not
// fit in memory.
CellGrid ReadWorksheet(QIODevice& device, const QString& part, const XlsxSheetContext& context);

// The 0-based row and column of a cell reference such as "B12" (letters in
// either case); false when it is none within the sheet's limits.
bool ParseCellReference(QByteArrayView reference, int& row, int& column);
