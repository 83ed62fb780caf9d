#pragma once

#include "import/SheetValues.h"

// Fills one unmapped must-default column of the target record: reference
// codes from GSETUP.ini (section DEFAULTDEFCODE) or a fixed fallback,
// descriptions from the item name, dates, or the item/PLU companion.
void ApplyDefault(const RecordContext& r, const QString& entry);

// The reference codes the defaults take: GSETUP.ini's section
// DEFAULTDEFCODE in the program folder home, read once for a whole pass.
QHash<QString, QString> ReadSetupCodes(const QString& home);
