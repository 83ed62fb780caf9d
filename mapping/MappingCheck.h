#pragma once

#include <QString>
#include <QStringList>

class Grid;

// Why mapping row `row` cannot go to the table, or empty when it can: its
// TILL field is none of the table's (tillFields, letter case and blanks
// aside; not checked when the list is empty, as when no database is
// connected), or another row maps the same TILL field. An unmapped row
// has no problem.
QString MappedRowProblem(const Grid& mapping, int row, const QString& table,
                         const QStringList& tillFields);

// A TILL field as the table spells it, found by a name in any letter case
// with blanks around it; the name without those blanks when the table has
// no such field (tillFields empty: not known).
QString TillFieldSpelling(const QString& name, const QStringList& tillFields);

// The first row's problem, or empty when every row can go to the table.
QString MappingProblem(const Grid& mapping, const QString& table, const QStringList& tillFields);
