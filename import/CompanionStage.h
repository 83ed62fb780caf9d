#pragma once

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "database/TableQuery.h"

class DbConnection;

// The values a companion record is created with, by column.
using Values = QList<QPair<QString, QVariant>>;

// The companion records a set pass collects instead of creating them one
// by one: for each table and key, the values of the first sheet record that
// needs it, as creating them in sheet order would leave them.
class CompanionStage {
public:
    // A record of the table found by one key column (where), created with
    // the values when no stored record has that key.
    void Add(const QString& table, const Criteria& where, const Values& values);
    // Creates those of them no stored record has, each table's in one go.
    void Write(DbConnection& db) const;

private:
    struct Group {
        QString table;
        QString keyColumn;
        QStringList columns;
        QVector<QVariantList> rows;
        QSet<QString> keys;  // the keys taken, as text
    };
    QList<Group> groups_;
};
