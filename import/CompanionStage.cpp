#include "import/CompanionStage.h"

#include <algorithm>

#include "base/AppError.h"
#include "base/Recordset.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "database/StagedRows.h"

namespace {

bool SameKind(const CompanionRows& a, const QString& table, const Criteria& where,
              const Values& values) {
    if (a.table != table || a.keyColumns.size() != where.size() ||
        a.columns.size() != values.size())
        return false;
    for (int i = 0; i < where.size(); ++i)
        if (a.keyColumns[i] != where[i].first) return false;
    for (int i = 0; i < values.size(); ++i)
        if (a.columns[i] != values[i].first) return false;
    return true;
}

}  // namespace

void CompanionStage::Add(const QString& table, const Criteria& where, const Values& values) {
    if (where.isEmpty())
        throw AppError(ErrorNumber::InvalidArgument, "A companion record needs a key column");
    // Every record of a sheet asks with the same columns: its group is found
    // without building a list of them.
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) {
        return SameKind(g.added, table, where, values);
    });
    if (group == groups_.end()) {
        QStringList keyColumns, columns;
        for (const auto& [column, value] : where) keyColumns << column;
        for (const auto& [column, value] : values) columns << column;
        group = groups_.insert(groups_.end(), Group{{table, keyColumns, columns, {}}, {}});
    }
    // The first record that needs the companion gives its values.
    QStringList key;
    key.reserve(where.size());
    for (const auto& [column, value] : where) key << ValueText(value);
    const qsizetype taken = group->keys.size();
    group->keys.insert(std::move(key));
    if (group->keys.size() == taken) return;
    QVariantList row;
    row.reserve(values.size());
    for (const auto& [column, value] : values) row << value;
    group->added.rows << row;
}

QList<CompanionRows> CompanionStage::TakeAdded() {
    QList<CompanionRows> added;
    for (Group& g : groups_) {
        if (g.added.rows.isEmpty()) continue;
        added.append(g.added);
        g.added.rows.clear();
    }
    return added;
}

CompanionWriter::CompanionWriter(DbConnection& db) : db_(db) {}

CompanionWriter::~CompanionWriter() = default;

CompanionWriter::Target& CompanionWriter::TargetOf(const CompanionRows& rows) {
    for (Target& t : targets_)
        if (t.kind.table == rows.table && t.kind.keyColumns == rows.keyColumns &&
            t.kind.columns == rows.columns)
            return t;
    // The table's own types convert the values, as a record written alone
    // converts them.
    Criteria noRecord;
    for (const QString& key : rows.keyColumns) noRecord.append({key, QVariant()});
    const auto typed = db_.OpenTable({rows.table, rows.columns, noRecord});
    QVector<Field> fields = typed->Fields();
    for (int i = 0; i < fields.size(); ++i) fields[i].name = rows.columns[i];
    auto staged = std::make_unique<StagedRows>(db_, rows.table, fields, rows.keyColumns);
    targets_.push_back(
        {{rows.table, rows.keyColumns, rows.columns, {}}, fields, std::move(staged)});
    return targets_.back();
}

void CompanionWriter::Stage(const QList<CompanionRows>& added) {
    for (const CompanionRows& rows : added) {
        Target& target = TargetOf(rows);
        QVector<StagedRow> staged;
        staged.reserve(rows.rows.size());
        for (const QVariantList& values : rows.rows) {
            StagedRow row{{}, QVector<bool>(target.fields.size(), true)};
            row.values.reserve(target.fields.size());
            for (int i = 0; i < target.fields.size(); ++i)
                row.values << ConvertValue(target.fields[i], values[i]);
            staged << std::move(row);
        }
        target.staged->AddMissing(std::move(staged));
    }
}

void CompanionWriter::Write() {
    for (Target& t : targets_) t.staged->FinishMissing();
}
