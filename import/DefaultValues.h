#pragma once

#include "import/SheetValues.h"

// Fills one unmapped must-default column of the target record: reference
// codes from GSETUP.ini (section DEFAULTDEFCODE) or a fixed fallback,
// descriptions from the item name, dates, or the item/PLU companion.
void ApplyDefault(const RecordContext& r, const QString& entry);
