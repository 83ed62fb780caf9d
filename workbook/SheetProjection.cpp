#include "workbook/SheetProjection.h"

#include <thread>

#include "base/Field.h"
#include "base/Recordset.h"
#include "workbook/SheetQuery.h"
#include "workbook/SheetTable.h"

namespace {

// The type code SQLite reports for a sheet column: numbers and dates keep
// theirs, everything else reads as text.
int EngineType(int type) {
    return type == TypeCode::Double || type == TypeCode::Date ? type : TypeCode::VarWChar;
}

// SQLite keeps a whole number as an integer and reads it back as a real:
// negative zero comes back as zero.
QVariant EngineValue(const QVariant& value) {
    if (value.typeId() == QMetaType::Double && value.toDouble() == 0) return 0.0;
    return value;
}

// Rows below which a second thread costs more than it saves.
constexpr int kRowsWorthAThread = 10000;

}  // namespace

std::unique_ptr<Recordset> ProjectSheet(const SheetTable& sheet, const SheetProjection& p) {
    QHash<QString, int> byName;
    for (int c = 0; c < sheet.columns.size(); ++c)
        byName.insert(SqlNameKey(sheet.columns[c].name), c);
    QVector<int> sources;
    QVector<Field> fields;
    const auto take = [&](int c, const QString& name) {
        sources.append(c);
        fields.append(
            {name.isEmpty() ? sheet.columns[c].name : name, EngineType(sheet.columns[c].type)});
    };
    for (const SheetProjection::Item& item : p.items) {
        if (item.all) {
            for (int c = 0; c < sheet.columns.size(); ++c) take(c, {});
            continue;
        }
        const auto found = byName.constFind(SqlNameKey(item.column));
        if (found == byName.constEnd()) return nullptr;
        take(*found, item.name);
    }
    QVector<Recordset::Row> rows(p.noRows ? 0 : sheet.rowCount);
    const auto fill = [&](int first, int end) {
        for (int r = first; r < end; ++r) {
            Recordset::Row& row = rows[r];
            row.reserve(sources.size());
            for (int c : sources) row.append(EngineValue(sheet.columns[c].values[r]));
        }
    };
    const int count = int(rows.size());
    if (count < kRowsWorthAThread) {
        fill(0, count);
    } else {
        // A large sheet's rows are copied in two halves at once.
        const std::jthread second(fill, count / 2, count);
        fill(0, count / 2);
    }
    return std::make_unique<Recordset>(std::move(fields), std::move(rows));
}
