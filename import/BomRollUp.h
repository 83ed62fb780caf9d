#pragma once

#include "import/SheetValues.h"

class StagedRows;

// A mapped BOMITEMCODE column (field k of the target line): makes sure the
// bill's header exists before the line is saved (a set pass collects it),
// then writes the component.
void ApplyBomLineRule(const RecordContext& r, int field);

// After a line is saved: its unit and total cost from the component's
// portion price, then the header's totals from all its stored lines.
void RollUpBomCosts(const RecordContext& r);

// The same after a sheet's lines are saved as a set, for the lines the
// staging holds and their headers, in a few statements for the whole sheet.
// Run once every line is written: a header sums its stored lines.
void RollUpBomCosts(DbConnection& db, const StagedRows& lines, const QDate& today);
