#pragma once

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

#include "base/Field.h"
#include "database/TableQuery.h"

class DbConnection;
class StagedRows;

// The values a companion record is created with, by column.
using Values = QList<QPair<QString, QVariant>>;

// Companion records of one table, found by their key columns, all given
// the same columns.
struct CompanionRows {
    QString table;
    QStringList keyColumns;
    QStringList columns;
    QVector<QVariantList> rows;  // one value per column
};

// The companion records a set pass collects instead of creating them one
// by one: for each table and key, the values of the first sheet record that
// needs it, as creating them in sheet order would leave them. Reads no
// database, so that records can be worked out beside the writing.
class CompanionStage {
public:
    // A record of the table found by its key columns (where), created with
    // the values when no stored record has that key.
    void Add(const QString& table, const Criteria& where, const Values& values);
    // The records added since the last call, in the order their tables were
    // first asked for.
    QList<CompanionRows> TakeAdded();

private:
    struct Group {
        CompanionRows added;
        QSet<QStringList> keys;  // every key taken, as text
    };
    QList<Group> groups_;
};

// Writes the collected companion records on the target: those no stored
// record has are created, each table's in one go once all are staged, or as
// they come where the engine does not stage new rows.
class CompanionWriter {
public:
    explicit CompanionWriter(DbConnection& db);
    ~CompanionWriter();
    CompanionWriter(const CompanionWriter&) = delete;
    CompanionWriter& operator=(const CompanionWriter&) = delete;

    void Stage(const QList<CompanionRows>& added);
    // Creates the staged records no stored record has.
    void Write();

private:
    struct Target {
        CompanionRows kind;     // table, key and columns; no rows
        QVector<Field> fields;  // the columns with the table's types
        std::unique_ptr<StagedRows> staged;
    };
    Target& TargetOf(const CompanionRows& rows);

    DbConnection& db_;
    std::vector<Target> targets_;
};
