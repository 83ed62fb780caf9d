#pragma once

#include <optional>

#include "import/InsertPass.h"

// The insert pass as a set: each accepted record's values are worked out by
// the same rules as the per-record pass, then staged on the target and
// written by a handful of statements in one transaction, with the companion
// records, the item-to-PLU copy and a bill's cost roll-up. Nothing is
// written when it fails: the transaction is rolled back and the failure
// raised. Answers nullopt, having written nothing, for a table whose rules
// read stored records record by record (PLUs) and for an engine it has no
// statements for. When progress answers false, the pass stops there and
// writes nothing: it answers no rows inserted or updated.
std::optional<InsertCounts> RunSetInsertPass(Connection& excel, DbConnection& db,
                                             const InsertInput& input,
                                             const std::function<bool(int, int)>& progress,
                                             const std::function<void(const QString&)>& step);

// Whether a sheet of the table can go as a set: false where its rules read
// stored records between records.
bool GoesAsSet(const QString& table);
