#pragma once

#include <QString>
#include <QVariant>
#include <limits>
#include <optional>

// The database engines a target can run on.
enum class Engine { SqlServer, PostgreSQL, SQLite };

// A character column without a maximum length.
constexpr int NoLengthLimit = std::numeric_limits<int>::max();

// The statements that differ between the engines. The SQL Server dialect
// gives the system's own statement texts unchanged; the others give
// statements with the same effect. PostgreSQL folds unquoted names to lower
// case, so its dialect reports them in the upper case the program uses.
class Dialect {
public:
    explicit Dialect(Engine engine) : engine_(engine) {}

    Engine Kind() const { return engine_; }

    // [X] on SQL Server, "x" on PostgreSQL, "X" on SQLite.
    QString Quote(const QString& identifier) const;

    // One table's part of the column catalogue query: the columns name,
    // xtype and Length of the table's columns, leaving out those named in
    // notInList (string literals as SqlLiteral writes them, "'A','B'") when
    // it is not empty. The table's name goes in as a literal too.
    // Outside SQL Server the type code is 0 and the length is the maximum
    // number of characters of a character column, -1 for one without a
    // limit, and null for every other column.
    QString ColumnListQuery(const QString& table, const QString& notInList) const;
    // What joins two parts of the column catalogue query.
    QString UnionAll() const;
    // The maximum number of characters of a column from the length the
    // catalogue reports: SQL Server counts nchar and nvarchar in bytes.
    // -1 (a "max" column) gives NoLengthLimit on every engine.
    int CharacterLength(int reportedLength, int xtype) const;

    // Names the primary key columns of the table bound to its one "?",
    // in key order.
    QString PrimaryKeyQuery() const;
    // A column name of a result as the program sees it.
    QString FieldName(const QString& returned) const;
    // A value as the engine's driver takes it as a bound parameter: NULL
    // only for a null value, never for an empty text. Empty when the value
    // is bound as it is, as most are.
    std::optional<QVariant> Rebound(const QVariant& value) const;

    // Statements that write a whole sheet as a set.
    // The name of a temporary table of the connection's own.
    QString TemporaryName(const QString& name) const;
    // Creates the temporary table name, empty, with the columns the select
    // list gives over the table's own.
    QString CreateEmptyCopy(const QString& name, const QString& selectList,
                            const QString& table) const;
    // What orders a temporary table's rows as they were inserted, given the
    // column that numbers them: on SQLite its own row numbers, which need no
    // sorting.
    QString InsertOrder(const QString& numberColumn) const;
    // The most values one statement binds: SQL Server takes at most 2,100
    // parameters a call, SQLite 32,766.
    int MaxBoundValues() const;
    // Whether a set's new rows go through its staging table before their
    // own: on a server each statement is a round trip, while in SQLite's
    // process looking them up and adding them as they come saves staging them.
    bool StagesNewRows() const;
    // Updates target from the rows of source ("Table As Alias") that match
    // it, where the condition holds.
    QString UpdateFrom(const QString& target, const QString& sets, const QString& source,
                       const QString& match, const QString& condition) const;

private:
    Engine engine_;
};
