#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "Dialect.h"

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

// Identifiers are quoted by the dialect; a null criterion is "Is Null".
SqlCall SelectCall(const Dialect& dialect, const TableQuery& query);
SqlCall InsertCall(const Dialect& dialect, const QString& table, const QStringList& columns,
                   const QVariantList& values);
SqlCall UpdateCall(const Dialect& dialect, const QString& table, const QStringList& columns,
                   const QVariantList& values, const Criteria& where);
