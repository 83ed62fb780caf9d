#pragma once

#include "import/CompanionStage.h"
#include "import/SheetValues.h"

// Adds a record with the values when none meets the criteria; an existing
// one is left alone. Only the columns written are read. A set pass collects
// the record instead.
void CreateWhenMissing(const RecordContext& r, const QString& table, Criteria where,
                       const Values& values);

// Items and their PLU records are kept together: whichever side is imported,
// the missing other side is created, and the descriptions, unit and prices
// of an item and its base-unit PLU (UOMQty 1) follow each other.

// A mapped PLUCODE column (field k of the target record).
void ApplyPluRule(const RecordContext& r, int field);
// The default entry "ITEMCODE AS PLUCODE": an item's PLU is its item code.
void CreatePluOfItemCode(const RecordContext& r);
// The default entry "ITEMCODE" of a PLU sheet: the item the PLU belongs to.
void CreateItemOfPlu(const RecordContext& r);
// The fields an item's base-unit PLUs take from it.
const QStringList& ItemToPluFields();
// After an item is saved, new or updated: its base-unit PLUs take its texts
// and prices.
void CopyItemToBasePlu(const RecordContext& r);
// After a PLU is saved, new or updated: when it is a base-unit PLU, its
// stored item takes its texts, unit and prices.
void CopyBasePluToItem(const RecordContext& r);
