#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QVector>
#include <memory>

#include "base/Field.h"
#include "database/TableQuery.h"

// What every OpenTable of one table, select list and pattern of criteria
// has in common: its statement texts and what each field writes. Kept per
// connection, so that a pass builds each text once, not once per record.
struct TableShape {
    QString table;
    QString selectSql;
    QVector<Field> fields;   // as the recordset shows them, aliases applied
    QStringList columns;     // the column each field reads
    QVector<int> keyFields;  // the fields of the primary key, or none when one is not read
    QVector<bool> writable;  // false for the identity column ID and a column read twice
    QHash<QByteArray, QString> writes;  // insert and update texts, by the fields they write
};

// The key a shape is kept under: table, select items, and which criteria are null.
QString ShapeKey(const TableQuery& query);

// The shape of a query whose fields (as the engine describes them) are
// known. primaryKey: the table's key columns.
std::shared_ptr<TableShape> MakeShape(const TableQuery& query, const QString& selectSql,
                                      const QVector<Field>& fields, const QStringList& primaryKey);

// Position of the column in the list, letter case ignored, or -1.
int IndexOfColumn(const QStringList& columns, const QString& column);
