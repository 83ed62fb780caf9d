#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

#include "base/Field.h"

class DbConnection;

// One row to stage: a value per column, and whether the row gives the
// column a value at all (a column it leaves alone keeps its stored value
// and is not written to a new record).
struct StagedRow {
    QVector<QVariant> values;
    QVector<bool> given;
};

// Rows for one table held in a temporary table on the target, so that a few
// statements write them all instead of a few per row: on a server each
// statement is a round trip. Rows are found by their key columns; their
// keys must be distinct. Statements go in a few hundred rows at a time.
// Where the engine does not stage new rows (Dialect::StagesNewRows), the
// rows no stored record has are added to the table as they are appended, a
// few thousand at a time, and only their keys and listed columns are
// staged, for MarkNew and Keys. Rows giving the same columns are added
// together, each group in its order, as AddNew adds them. Dropped with the
// object. Failures raise AppError.
class StagedRows {
public:
    // fields: the table's columns (names as the table spells them) and
    // their type codes, the key columns among them. listed: other columns
    // Keys may be asked for.
    StagedRows(DbConnection& db, QString table, QVector<Field> fields, QStringList keys,
               const QStringList& listed = {});
    ~StagedRows();
    StagedRows(const StagedRows&) = delete;
    StagedRows& operator=(const StagedRows&) = delete;

    // For records that are only ever created: the rows whose key no stored
    // record has are added to the table, each with its given values that are
    // not null, as appended new rows are; the others are left alone. Where
    // the engine does not stage new rows they are added at once, else they
    // are staged and added by FinishMissing.
    void AddMissing(QVector<StagedRow> rows);
    // Adds the staged rows AddMissing took that no stored record has.
    void FinishMissing();
    // Adds rows after those appended before, creating the staging table
    // first; they go in whole statements as they fill them. The rows' values
    // are moved to the statements, not copied. Rows added to the table are
    // taken back only with the transaction.
    void Append(QVector<StagedRow> rows);
    // Marks the rows whose key no stored record has, once every row is
    // appended; answers how many. The rows that filled no whole statement
    // are staged first.
    int MarkNew();
    // Raises when two rows share a key, as the table compares keys, once
    // every row is marked: a set would write each, where one record at a
    // time writes the second over the first.
    void RefuseRepeatedKeys();
    // Sets the given columns of the stored records the other rows find.
    void UpdateStored();
    // Adds the new rows in their order, each with its given values that are
    // not null, as adding them one by one would.
    void AddNew();
    enum class Rows { All, New };
    // "(Select KEY From <staging>)": the keys of every row, new or stored,
    // or of the new ones only, once every row is marked, for a statement of
    // the caller's.
    QString Keys(const QString& column, Rows rows = Rows::All) const;
    // "Exists (Select 1 From <staging> ...)": whether a row, new or stored,
    // has the columns' values of the record of stored (a table as the
    // statement names it) that a statement of the caller's is on, once
    // every row is marked.
    QString Holds(const QString& stored, const QStringList& columns) const;

private:
    void Create();
    // Which rows' keys a stored record has, compared as the table compares.
    QVector<bool> StoredAmong(const QVector<StagedRow>& rows);
    // Stages rows after those pending, in whole statements.
    void Stage(QVector<StagedRow> rows);
    // Looks up the rows appended since, adds the new ones to the table and
    // stages the stored ones.
    void SortOut();
    // Adds to the table the rows not stored, those giving the same columns
    // together, in their order.
    void AddUnstored(QVector<StagedRow>& rows, const QVector<bool>& stored);
    // Stages the keys and listed columns of the rows not stored, as new.
    void StageUnstored(const QVector<StagedRow>& rows, const QVector<bool>& stored);
    // Adds the rows at the indexes, which give the same columns.
    void AddToTable(QVector<StagedRow>& rows, const QVector<qsizetype>& indexes,
                    const QVector<bool>& columns);
    // Rows waiting to be staged that give the same columns, and the same
    // columns not null: one statement stages them, its masks written in.
    struct Pending {
        int given = 0;  // the masks' numbers
        int add = 0;
        QVector<StagedRow> rows;
        QVector<int> numbers;  // each row's place among all staged
    };
    // Stages a group's rows in one statement.
    void Insert(Pending& group);
    void Flush();
    // Raises unless the column is staged for every row.
    void RequireStaged(const QString& column) const;
    QString Quoted(const QString& column) const;
    QString Match(const QStringList& columns, const QString& stored, const QString& staged) const;
    QString KeyMatch(const QString& stored, const QString& staged) const;
    QString Columns(const QString& mask, const QString& prefix) const;

    DbConnection& db_;
    QString table_;
    QVector<Field> fields_;
    QStringList keys_;
    QVector<int> keyAt_;     // each key's place among the fields
    QVector<int> listedAt_;  // the keys' and listed columns' places
    bool stagesNew_;
    std::optional<bool> startedEmpty_;  // the table, when rows began to come
    QString name_;
    // The distinct masks in first-seen order; a row holds its masks' numbers.
    QStringList givenMasks_;  // the columns given
    QStringList addMasks_;    // the columns given and not null
    bool created_ = false;
    int perStatement_ = 1;
    QList<Pending> pending_;       // appended, not yet staged
    QVector<StagedRow> unsorted_;  // appended, not yet looked up
    int staged_ = 0;               // rows staged, which numbers the next
};
