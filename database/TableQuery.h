#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "database/Dialect.h"

// Conditions column = value, all of them to hold.
using Criteria = QList<QPair<QString, QVariant>>;

// The records of one table read for change: the select items ("COL" or
// "COL As ALIAS"; every column when empty) and the criteria.
struct TableQuery {
    QString table;
    QStringList columns;
    Criteria where;
};

// One select item: the column read and the name the recordset shows.
struct SelectItem {
    QString column;
    QString name;
};
SelectItem ParseSelectItem(const QString& item);

// A statement text with its values, bound to its "?" in order.
struct SqlCall {
    QString sql;
    QVariantList params;
};

// The values bound to the criteria: a null criterion binds none.
QVariantList BoundValues(const Criteria& where);

// Identifiers are quoted by the dialect; a null criterion is "Is Null".
SqlCall SelectCall(const Dialect& dialect, const TableQuery& query);
// The texts that write columns: their values are bound in column order, an
// update's then followed by BoundValues(where).
QString InsertSql(const Dialect& dialect, const QString& table, const QStringList& columns);
QString UpdateSql(const Dialect& dialect, const QString& table, const QStringList& columns,
                  const Criteria& where);

// The one record of a table whose key column holds the value.
struct KeyedRecord {
    QString table;
    QString keyColumn;
    QVariant key;
};

// Sets the columns of the records that meet the criteria to the columns of
// the same names of the source record; nothing changes when it is missing.
// Its values are those of CopyColumnsParams, in that order.
QString CopyColumnsSql(const Dialect& dialect, const QString& table, const Criteria& where,
                       const KeyedRecord& source, const QStringList& columns);
QVariantList CopyColumnsParams(const Dialect& dialect, const Criteria& where,
                               const KeyedRecord& source, const QStringList& columns);
