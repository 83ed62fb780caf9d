#pragma once

#include <QString>
#include <QVector>

class Dialect;
class Grid;

// The catalogue query that lists the columns of the target table (and of
// its paired table): name, type code and length. With an empty mode the
// columns already used are left out.
QString ColumnQuery(const Dialect& dialect, const QString& table, const QString& mode,
                    const QString& usedFieldList);

// Records the length of one listed column for every mapping row that maps
// it (a bill of material's TYPE row always holds 1). maxLength has one
// entry per mapping row; rows whose column is not listed keep their value.
void RecordColumnLength(const QString& column, int length, const Grid& mapping,
                        const QString& table, QVector<int>& maxLength);

// Whether a listed column is offered in the drop-down: every column but ID.
bool IsOffered(const QString& column);
