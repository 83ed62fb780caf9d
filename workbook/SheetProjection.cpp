#include "workbook/SheetProjection.h"

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

// The picked columns of a sheet's table, read in place.
class ProjectedRows : public RowSource {
public:
    ProjectedRows(std::shared_ptr<const SheetTable> sheet, QVector<int> sources, bool noRows)
        : sheet_(std::move(sheet)), sources_(std::move(sources)), noRows_(noRows) {}
    int RowCount() const override { return noRows_ ? 0 : sheet_->rowCount; }
    QVariant At(int row, int field) const override {
        return EngineValue(sheet_->columns[sources_[field]].Value(row));
    }

private:
    std::shared_ptr<const SheetTable> sheet_;
    QVector<int> sources_;
    bool noRows_;
};

}  // namespace

std::unique_ptr<Recordset> ProjectSheet(std::shared_ptr<const SheetTable> sheet,
                                        const SheetProjection& p) {
    QHash<QString, int> byName;
    for (int c = 0; c < sheet->columns.size(); ++c)
        byName.insert(SqlNameKey(sheet->columns[c].name), c);
    QVector<int> sources;
    QVector<Field> fields;
    const auto take = [&](int c, const QString& name) {
        sources.append(c);
        fields.append(
            {name.isEmpty() ? sheet->columns[c].name : name, EngineType(sheet->columns[c].type)});
    };
    for (const SheetProjection::Item& item : p.items) {
        if (item.all) {
            for (int c = 0; c < sheet->columns.size(); ++c) take(c, {});
            continue;
        }
        const auto found = byName.constFind(SqlNameKey(item.column));
        if (found == byName.constEnd()) return nullptr;
        take(*found, item.name);
    }
    return std::make_unique<Recordset>(
        std::move(fields),
        std::make_shared<ProjectedRows>(std::move(sheet), std::move(sources), p.noRows));
}
