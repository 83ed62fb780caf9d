#pragma once

#include <QList>
#include <QString>
#include <QVector>

#include "base/Field.h"

class DbConnection;
class Dialect;
class Grid;

// Which columns the catalogue query lists: those a mapping row may still
// choose (the ones in use left out), or all of them, for Verify's lengths.
enum class ColumnListing { Unused, All };

// The catalogue query that lists the columns of the target table (and of
// its paired table): name, type code and length.
QString ColumnQuery(const Dialect& dialect, const QString& table, ColumnListing listing,
                    const QString& usedFieldList);

// A column of the target table as the catalogue lists it.
struct TargetColumn {
    QString name;
    int length;  // characters; NoLengthLimit for other columns
};
QList<TargetColumn> ReadTargetColumns(DbConnection& db, const QString& table, ColumnListing listing,
                                      const QString& usedFieldList);

// Records the length of one listed column for every mapping row that maps
// it (a bill of material's TYPE row always holds 1). maxLength has one
// entry per mapping row; rows whose column is not listed keep their value.
void RecordColumnLength(const QString& column, int length, const Grid& mapping,
                        const QString& table, QVector<int>& maxLength);

// The columns of the target table as its engine describes them, their type
// and limits, one for each name asked for (letter case and blanks around it
// aside). An empty name, or one the table lacks, gets a text column without
// limits. keyColumn: a key column of the table, by which the description
// reads no record.
QVector<Field> ReadTargetFields(DbConnection& db, const QString& table, const QStringList& names,
                                const QString& keyColumn);

// Whether a listed column is offered in the drop-down: every column but ID.
bool IsOffered(const QString& column);
