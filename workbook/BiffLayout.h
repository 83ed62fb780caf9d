#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QVector>

#include "workbook/BiffRecords.h"
#include "workbook/FormulaResults.h"

// What a workbook file shows of itself before FreeXL reads it: FreeXL names
// neither encryption nor the kind of each sheet, hands error cells over as
// the numbers 0 and 1, skips formula cells, and allocates every sheet's
// announced size up front, so these are read from the file's own records first.
enum class Container { Empty, Ole, RawBiff, Zip, Other };

// Sheet kinds of the sheet list (BOUNDSHEET): worksheets and dialog sheets
// hold cells; macro sheets, charts and modules do not.
constexpr int kWorksheetKind = 0;

struct BiffSheet {
    int kind = kWorksheetKind;
    quint32 rows = 0;  // size announced by the sheet's DIMENSION record
    quint32 columns = 0;
    QSet<quint32> errorCells;                // CellKey(row, column) of every error constant
    QHash<quint32, FormulaResult> formulas;  // by CellKey(row, column)
    QString unreadableFormula;               // the formula result that cannot be read, if any
};

struct BiffLayout {
    Container container = Container::Other;
    int biffVersion = 0;  // 2, 3, 4, 5 or 8 from the first BOF record; 0 when unknown
    bool encrypted = false;
    bool truncated = false;    // the container refers to parts past the end of the file
    bool sheetsKnown = false;  // the workbook stream and its sheet list could be walked
    QVector<BiffSheet> sheets;
};

// Reads the container, the workbook stream's global records and each sheet's
// records. Never fails: what cannot be walked is left unknown.
BiffLayout ScanBiffLayout(const QByteArray& file);
