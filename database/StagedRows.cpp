#include "database/StagedRows.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include "base/AppError.h"
#include "base/Recordset.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"

namespace {

// Rows one statement stages at most.
constexpr int kMaxRows = 500;

// Rows added to their table as they come are sorted out this many at a time.
constexpr int kRowsSortedOut = 4 * kMaxRows;

// Values a staged row binds: its columns and its number. Whether it is new
// and its two masks are written into the statement: on SQL Server, whose
// statements take at most 2,100 values, every value a row binds is fewer
// rows a statement.
constexpr int kWidth(qsizetype columns) { return int(columns) + 1; }

// Rows of width values one statement inserts.
qsizetype RowsPerStatement(const Dialect& dialect, int width) {
    return qMax(1, qMin(kMaxRows, dialect.MaxBoundValues() / width));
}

// "(?, ?), (?, ?)": the values of rows of width columns each.
QString Placeholders(qsizetype rows, int width) {
    return QStringList(rows, "(" + QStringList(width, "?").join(", ") + ")").join(", ");
}

QString Mask(const QVector<bool>& bits) {
    QString mask(bits.size(), '0');
    for (int i = 0; i < bits.size(); ++i)
        if (bits[i]) mask[i] = '1';
    return mask;
}

// The mask's number among the masks, added to them when new: rows carry
// the number, which binds and compares cheaper than the mask.
int MaskNumber(QStringList& masks, const QString& mask) {
    const qsizetype at = masks.indexOf(mask);
    if (at >= 0) return int(at);
    masks << mask;
    return int(masks.size() - 1);
}

}  // namespace

StagedRows::StagedRows(DbConnection& db, QString table, QVector<Field> fields, QStringList keys,
                       const QStringList& listed)
    : db_(db),
      table_(std::move(table)),
      fields_(std::move(fields)),
      keys_(std::move(keys)),
      stagesNew_(db_.SqlDialect().StagesNewRows()) {
    for (const QString& key : keys_)
        for (int i = 0; i < fields_.size(); ++i)
            if (fields_[i].name.compare(key, Qt::CaseInsensitive) == 0) keyAt_ << i;
    for (int i = 0; i < fields_.size(); ++i)
        if (keys_.contains(fields_[i].name, Qt::CaseInsensitive) ||
            listed.contains(fields_[i].name, Qt::CaseInsensitive))
            listedAt_ << i;
    static std::atomic<int> counter{0};
    name_ = db_.SqlDialect().TemporaryName(QString("xl_stage%1").arg(++counter));
}

StagedRows::~StagedRows() {
    if (!created_) return;
    try {
        db_.Execute("Drop Table " + name_);
    } catch (const AppError&) {
        // A temporary table goes with the connection anyway.
    }
}

QString StagedRows::Quoted(const QString& column) const { return db_.SqlDialect().Quote(column); }

QString StagedRows::Match(const QStringList& columns, const QString& stored,
                          const QString& staged) const {
    QStringList terms;
    for (const QString& column : columns)
        terms << stored + "." + Quoted(column) + " = " + staged + "." + Quoted(column);
    return terms.join(" And ");
}

QString StagedRows::KeyMatch(const QString& stored, const QString& staged) const {
    return Match(keys_, stored, staged);
}

QString StagedRows::Columns(const QString& mask, const QString& prefix) const {
    QStringList columns;
    for (int i = 0; i < fields_.size(); ++i)
        if (mask.isEmpty() || mask[i] == '1') columns << prefix + Quoted(fields_[i].name);
    return columns.join(", ");
}

void StagedRows::Create() {
    const Dialect& d = db_.SqlDialect();
    db_.Execute(d.CreateEmptyCopy(name_,
                                  Columns({}, {}) +
                                      ", Cast(0 As Integer) As xl_row, Cast(0 As Integer) As "
                                      "xl_new, Cast(0 As Integer) As xl_given, Cast(0 As "
                                      "Integer) As xl_add",
                                  Quoted(table_)));
    created_ = true;
    perStatement_ = int(RowsPerStatement(d, kWidth(fields_.size())));
}

void StagedRows::Append(QVector<StagedRow> rows) {
    if (!created_) Create();
    if (stagesNew_) {
        Stage(std::move(rows));
        return;
    }
    // Rows are sorted out a few thousand at a time, so that rows giving the
    // same columns fill whole statements even where the columns vary.
    unsorted_.append(std::move(rows));
    if (unsorted_.size() >= kRowsSortedOut) SortOut();
}

void StagedRows::Stage(QVector<StagedRow> rows) {
    // Rows of a sheet mostly give the same columns: a mask is made again
    // only when it changes.
    QVector<bool> added(fields_.size()), lastGiven, lastAdded;
    int given = -1, add = -1;
    for (StagedRow& row : rows) {
        for (int i = 0; i < fields_.size(); ++i) added[i] = row.given[i] && !row.values[i].isNull();
        if (given < 0 || row.given != lastGiven) {
            lastGiven = row.given;
            given = MaskNumber(givenMasks_, Mask(row.given));
        }
        if (add < 0 || added != lastAdded) {
            lastAdded = added;
            add = MaskNumber(addMasks_, Mask(added));
        }
        auto group = std::find_if(pending_.begin(), pending_.end(), [&](const Pending& p) {
            return p.given == given && p.add == add;
        });
        if (group == pending_.end()) group = pending_.insert(pending_.end(), {given, add, {}, {}});
        group->rows << std::move(row);
        group->numbers << staged_++;
        if (group->rows.size() == perStatement_) Insert(*group);
    }
}

void StagedRows::SortOut() {
    QVector<StagedRow> rows = std::exchange(unsorted_, {});
    const QVector<bool> stored = StoredAmong(rows);
    StageUnstored(rows, stored);
    AddUnstored(rows, stored);
    // Only the stored records' rows are staged whole, to update them.
    qsizetype kept = 0;
    for (qsizetype r = 0; r < rows.size(); ++r)
        if (stored[r]) rows[kept++] = std::move(rows[r]);
    rows.resize(kept);
    Stage(std::move(rows));
}

QVector<bool> StagedRows::StoredAmong(const QVector<StagedRow>& rows) {
    QVector<bool> stored(rows.size(), false);
    // A table empty when the rows began to come holds only rows added
    // since, whose keys differ from these: a first load looks up nothing.
    if (!startedEmpty_)
        startedEmpty_ =
            !db_.Open("Select Exists (Select 1 From " + Quoted(table_) + ")")->Value(0).toBool();
    if (*startedEmpty_) return stored;
    QStringList names{"xl_i"};
    for (const QString& key : keys_) names << Quoted(key);
    // A look-up inserts nothing: it takes as many rows as it can bind.
    const qsizetype perStatement = qMax(1, db_.SqlDialect().MaxBoundValues() / int(names.size()));
    for (qsizetype first = 0; first < rows.size(); first += perStatement) {
        const qsizetype count = qMin(perStatement, rows.size() - first);
        QVariantList params;
        params.reserve(count * names.size());
        for (qsizetype r = first; r < first + count; ++r) {
            params << r;
            for (int i : keyAt_) params << rows[r].values[i];
        }
        // A bound key takes the stored column's own affinity and collation,
        // as a record's look-up compares it.
        const auto found = db_.Open("With S(" + names.join(", ") + ") As (Values " +
                                        Placeholders(count, int(names.size())) +
                                        ") Select xl_i From S Where Exists (Select 1 From " +
                                        Quoted(table_) + " As T Where " + KeyMatch("T", "S") + ")",
                                    params);
        for (; !found->Eof(); found->MoveNext()) stored[found->Value(0).toLongLong()] = true;
    }
    return stored;
}

void StagedRows::AddMissing(QVector<StagedRow> rows) {
    if (stagesNew_)
        Append(std::move(rows));
    else
        AddUnstored(rows, StoredAmong(rows));
}

void StagedRows::FinishMissing() {
    if (!stagesNew_) return;  // added as they came
    MarkNew();
    AddNew();
}

void StagedRows::StageUnstored(const QVector<StagedRow>& rows, const QVector<bool>& stored) {
    const int width = int(listedAt_.size()) + 2;
    const qsizetype perStatement = RowsPerStatement(db_.SqlDialect(), width);
    QStringList columns;
    for (int i : listedAt_) columns << Quoted(fields_[i].name);
    const QString insert =
        "Insert Into " + name_ + " (" + columns.join(", ") + ", xl_row, xl_new) Values ";
    QVariantList params;
    params.reserve(perStatement * width);
    int count = 0;
    const auto stage = [&] {
        db_.Execute(insert + Placeholders(count, width), params);
        params.clear();
        count = 0;
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (stored[r]) continue;
        for (int i : listedAt_) params << rows[r].values[i];
        params << staged_++ << 1;
        if (++count == perStatement) stage();
    }
    if (count > 0) stage();
}

void StagedRows::AddUnstored(QVector<StagedRow>& rows, const QVector<bool>& stored) {
    if (keyAt_.size() != keys_.size())
        throw AppError(ErrorNumber::InvalidArgument, "A key of " + table_ + " is not written");
    // The rows giving the same columns go together, in their order, as
    // AddNew adds them.
    QList<QPair<QVector<bool>, QVector<qsizetype>>> groups;
    QVector<bool> columns(fields_.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (stored[r]) continue;
        for (int i = 0; i < fields_.size(); ++i)
            columns[i] = rows[r].given[i] && !rows[r].values[i].isNull();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.first == columns; });
        if (group == groups.end()) group = groups.insert(groups.end(), {columns, {}});
        group->second << r;
    }
    for (const auto& [groupColumns, indexes] : groups) AddToTable(rows, indexes, groupColumns);
}

void StagedRows::AddToTable(QVector<StagedRow>& rows, const QVector<qsizetype>& indexes,
                            const QVector<bool>& columns) {
    const int width = int(columns.count(true));
    if (width == 0) return;  // as AddNew adds no row without a value
    const QString insert =
        "Insert Into " + Quoted(table_) + " (" + Columns(Mask(columns), {}) + ") Values ";
    const qsizetype perStatement = RowsPerStatement(db_.SqlDialect(), width);
    for (qsizetype first = 0; first < indexes.size(); first += perStatement) {
        const qsizetype count = qMin(perStatement, indexes.size() - first);
        QVariantList params;
        params.reserve(count * width);
        for (qsizetype n = first; n < first + count; ++n) {
            StagedRow& row = rows[indexes[n]];
            for (int i = 0; i < fields_.size(); ++i)
                if (columns[i]) params << std::move(row.values[i]);
        }
        db_.Execute(insert + Placeholders(count, width), params);
    }
}

void StagedRows::Flush() {
    if (!created_) Create();
    for (Pending& group : pending_)
        if (!group.rows.isEmpty()) Insert(group);
}

void StagedRows::Insert(Pending& group) {
    const qsizetype count = group.rows.size();
    QVariantList params;
    params.reserve(count * kWidth(fields_.size()));
    for (qsizetype r = 0; r < count; ++r) {
        for (int i = 0; i < fields_.size(); ++i) {
            QVariant& value = group.rows[r].values[i];
            // A null keeps the column's kind, as a row written alone binds it.
            params << (value.isNull() ? QVariant(StoredType(fields_[i].type)) : std::move(value));
        }
        params << group.numbers[r];
    }
    // New until a stored record is found with its key; where new rows are
    // not staged, only the stored records' rows are.
    const QString row =
        "(" + QStringList(kWidth(fields_.size()), "?").join(", ") +
        QString(", %1, %2, %3)").arg(stagesNew_ ? 1 : 0).arg(group.given).arg(group.add);
    db_.Execute("Insert Into " + name_ + " (" + Columns({}, {}) +
                    ", xl_row, xl_new, xl_given, xl_add) Values " +
                    QStringList(count, row).join(", "),
                params);
    group.rows.clear();
    group.numbers.clear();
}

int StagedRows::MarkNew() {
    if (!stagesNew_) SortOut();
    Flush();
    // Only the rows a stored record has are written again. Rows added as
    // they came were told apart then.
    if (stagesNew_)
        db_.Execute("Update " + name_ + " Set xl_new = 0 Where Exists (Select 1 From " +
                    Quoted(table_) + " As T Where " + KeyMatch("T", name_) + ")");
    return db_.Open("Select Count(*) From " + name_ + " Where xl_new = 1")->Value(0).toInt();
}

void StagedRows::UpdateStored() {
    for (int number = 0; number < givenMasks_.size(); ++number) {
        const QString& mask = givenMasks_[number];
        QStringList sets;
        for (int i = 0; i < fields_.size(); ++i)
            if (mask[i] == '1' && !keys_.contains(fields_[i].name, Qt::CaseInsensitive))
                sets << Quoted(fields_[i].name) + " = S." + Quoted(fields_[i].name);
        if (sets.isEmpty()) continue;
        db_.Execute(db_.SqlDialect().UpdateFrom(Quoted(table_), sets.join(", "), name_ + " As S",
                                                KeyMatch(Quoted(table_), "S"),
                                                "S.xl_new = 0 And S.xl_given = ?"),
                    {number});
    }
}

void StagedRows::AddNew() {
    if (!stagesNew_) return;  // added as they came
    for (int number = 0; number < addMasks_.size(); ++number) {
        const QString& mask = addMasks_[number];
        if (!mask.contains('1')) continue;
        db_.Execute("Insert Into " + Quoted(table_) + " (" + Columns(mask, {}) + ") Select " +
                        Columns(mask, {}) + " From " + name_ +
                        " Where xl_new = 1 And xl_add = ? Order By " +
                        db_.SqlDialect().InsertOrder("xl_row"),
                    {number});
    }
}

void StagedRows::RefuseRepeatedKeys() {
    QStringList keys;
    for (const QString& key : keys_) keys << Quoted(key);
    const auto repeated = db_.Open("Select " + keys.join(", ") + " From " + name_ + " Group By " +
                                   keys.join(", ") + " Having Count(*) > 1");
    if (repeated->Eof()) return;
    QStringList key;
    for (int i = 0; i < keys.size(); ++i) key << ValueText(repeated->Value(i));
    throw AppError(ErrorNumber::InvalidArgument,
                   "Rows for " + table_ + " repeat the key " + key.join(", ") +
                       ": one record at a time writes each over the last");
}

void StagedRows::RequireStaged(const QString& column) const {
    // A stored record's row is staged whole; where new rows are not, only
    // their keys and listed columns are.
    const bool listed = std::any_of(listedAt_.cbegin(), listedAt_.cend(), [&](int i) {
        return fields_[i].name.compare(column, Qt::CaseInsensitive) == 0;
    });
    if (!stagesNew_ && !listed)
        throw AppError(ErrorNumber::InvalidArgument,
                       column + " of the new rows of " + table_ + " is not staged");
}

QString StagedRows::Keys(const QString& column, Rows rows) const {
    RequireStaged(column);
    return "(Select " + Quoted(column) + " From " + name_ +
           (rows == Rows::New ? " Where xl_new = 1)" : ")");
}

QString StagedRows::Holds(const QString& stored, const QStringList& columns) const {
    for (const QString& column : columns) RequireStaged(column);
    return "Exists (Select 1 From " + name_ + " As S Where " + Match(columns, stored, "S") + ")";
}
