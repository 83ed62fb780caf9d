#pragma once

#include "import/SheetValues.h"

// Fills one unmapped must-default column of the target record: reference
// codes from GSETUP.ini (section DEFAULTDEFCODE) or a fixed fallback,
// descriptions from the item name, dates, or the item/PLU companion.
void ApplyDefault(const RecordContext& r, const QString& entry);

// The reference codes the defaults take: GSETUP.ini's section
// DEFAULTDEFCODE in the program folder home, read once for a whole pass.
QHash<QString, QString> ReadSetupCodes(const QString& home);

// A reference code a table's default takes from GSETUP.ini, or its fallback.
struct SetupDefault {
    QString column;
    QString key;  // in section DEFAULTDEFCODE
    QString value;
};
// The reference codes the defaults of the table take, in the order of the
// table's columns.
QList<SetupDefault> SetupDefaults(const QString& table, const QHash<QString, QString>& setupCodes);
