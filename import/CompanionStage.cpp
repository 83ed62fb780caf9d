#include "import/CompanionStage.h"

#include "base/AppError.h"
#include "base/Recordset.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "database/StagedRows.h"

void CompanionStage::Add(const QString& table, const Criteria& where, const Values& values) {
    if (where.size() != 1)
        throw AppError(ErrorNumber::InvalidArgument, "A companion record needs one key column");
    // Every record of a sheet asks with the same columns: its group is found
    // without building a list of them.
    const auto sameColumns = [&](const Group& g) {
        if (g.table != table || g.keyColumn != where[0].first || g.columns.size() != values.size())
            return false;
        for (int i = 0; i < values.size(); ++i)
            if (g.columns[i] != values[i].first) return false;
        return true;
    };
    auto group = std::find_if(groups_.begin(), groups_.end(), sameColumns);
    if (group == groups_.end()) {
        QStringList columns;
        for (const auto& [column, value] : values) columns << column;
        group = groups_.insert(groups_.end(), Group{table, where[0].first, columns, {}, {}});
    }
    // The first record that needs the companion gives its values.
    const qsizetype taken = group->keys.size();
    group->keys.insert(ValueText(where[0].second));
    if (group->keys.size() == taken) return;
    QVariantList row;
    row.reserve(values.size());
    for (const auto& [column, value] : values) row << value;
    group->rows << row;
}

void CompanionStage::Write(DbConnection& db) const {
    for (const Group& g : groups_) {
        // The table's own types convert the values, as a record written alone
        // converts them.
        const auto typed = db.OpenTable({g.table, g.columns, {{g.keyColumn, QVariant()}}});
        QVector<Field> fields = typed->Fields();
        for (int i = 0; i < fields.size(); ++i) fields[i].name = g.columns[i];
        QVector<StagedRow> rows;
        rows.reserve(g.rows.size());
        for (const QVariantList& values : g.rows) {
            StagedRow row{{}, QVector<bool>(fields.size(), true)};
            for (int i = 0; i < fields.size(); ++i)
                row.values << ConvertValue(fields[i], values[i]);
            rows << row;
        }
        StagedRows staged(db, g.table, fields, {g.keyColumn});
        staged.Stage(rows);
        staged.MarkNew();
        staged.AddNew();
    }
}
