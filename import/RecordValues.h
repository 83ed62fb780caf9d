#pragma once

#include <QSet>
#include <QStringList>

#include "database/TableQuery.h"
#include "import/InsertPass.h"
#include "import/SheetValues.h"

// What both ways of writing a sheet work out alike for each record.

// The sheet rows (from 1) Verify rejected: the row headers of its grid.
QSet<int> RejectedRows(const Grid& rejected);
// The target record's select items: the mapped columns, then the defaults.
QStringList Columns(const InsertInput& in);
// The key columns, each with the current sheet record's value as text.
Criteria KeyCriteria(const InsertInput& in, const Recordset& sheet);
// Gives the target record its mapped and default values, with their
// companion rules.
void FillRecord(const InsertInput& in, const RecordContext& r);
