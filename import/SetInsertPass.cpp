#include "import/SetInsertPass.h"

#include "base/Connection.h"
#include "database/DbConnection.h"
#include "database/StagedRows.h"
#include "database/TableShape.h"
#include "import/CompanionStage.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"
#include "import/RecordValues.h"
#include "mapping/Catalogue.h"

namespace {

// A field no rule gave a value: a stored record keeps its own there.
struct Untouched {};

bool HasSetStatements(const QString& table) {
    // PLU and bill-of-material rules read stored records between records.
    return table != Table::kPlu && table != Table::kBom;
}

// Each new item's base-unit PLUs take the item's texts and prices.
void CopyNewItemsToBasePlus(DbConnection& db, const StagedRows& items) {
    const Dialect& d = db.SqlDialect();
    QStringList sets;
    for (const QString& c : ItemToPluFields()) sets << d.Quote(c) + " = I." + d.Quote(c);
    const QString plu = d.Quote(Table::kPlu);
    const QString code = d.Quote("ITEMCODE");
    db.Execute(d.UpdateFrom(plu, sets.join(", "), d.Quote(Table::kItem) + " As I",
                            "I." + code + " = " + plu + "." + code,
                            plu + "." + d.Quote("UOMQTY") + " = ? And " + plu + "." + code +
                                " In " + items.NewKeys("ITEMCODE")),
               {1});
}

}  // namespace

std::optional<InsertCounts> RunSetInsertPass(Connection& excel, DbConnection& db,
                                             const InsertInput& in,
                                             const std::function<bool(int, int)>& progress,
                                             const std::function<void(const QString&)>& step) {
    if (!HasSetStatements(in.table)) return std::nullopt;
    Criteria noRecord;
    for (const QString& key : in.keyFields)
        if (!key.isEmpty()) noRecord.append({key, QVariant()});
    const auto shape = db.Shape({in.table, Columns(in), noRecord});
    QStringList keys;
    for (const auto& [key, value] : noRecord) {
        const int i = IndexOfColumn(shape->columns, key);
        if (i < 0) return std::nullopt;  // a key that is not written cannot find records
        keys << shape->columns[i];
    }
    // The columns a save writes, and where each stands among the fields.
    QVector<Field> columns;
    QVector<int> fieldOf;
    for (int i = 0; i < shape->fields.size(); ++i) {
        if (!shape->writable[i]) continue;
        columns.append({shape->columns[i], shape->fields[i].type});
        fieldOf << i;
    }

    const auto sheet = excel.Open(InsertQuery(in.table, in.sheet, in.lists));
    const QSet<int> rejected = RejectedRows(in.rejected);
    const QHash<QString, QString> setupCodes = ReadSetupCodes(in.home);
    InsertCounts counts;
    CompanionStage companions;
    QVector<StagedRow> rows;
    rows.reserve(sheet->RecordCount());
    const Recordset::Row untouched(shape->fields.size(), QVariant::fromValue(Untouched{}));
    for (; !sheet->Eof(); sheet->MoveNext()) {
        const int position = sheet->AbsolutePosition();
        if (!progress(position, sheet->RecordCount())) return InsertCounts{};
        if (rejected.contains(position + 1)) {
            ++counts.skipped;
            continue;
        }
        Recordset target(shape->fields, {untouched});
        RecordContext r{db, *sheet, target, in.table, setupCodes, in.today};
        r.companions = &companions;
        FillRecord(in, r);
        StagedRow row;
        for (int i : fieldOf) {
            const QVariant value = target.Value(i);
            const bool given = value.metaType() != QMetaType::fromType<Untouched>();
            row.values << (given ? value : QVariant());
            row.given << given;
        }
        rows << row;
    }

    const auto staging = [&](int done, int total) {
        step(QString("Staging rows... %1 of %2").arg(done).arg(total));
    };
    db.RunInTransaction([&] {
        step("Adding missing companion records...");
        companions.Write(db);
        StagedRows staged(db, in.table, columns, keys);
        staged.Stage(rows, staging);
        step("Finding stored records...");
        counts.inserted = staged.MarkNew();
        counts.updated = int(rows.size()) - counts.inserted;
        step("Updating stored records...");
        staged.UpdateStored();
        step("Adding new records...");
        staged.AddNew();
        if (in.table == Table::kItem) {
            step("Copying new items to their PLUs...");
            CopyNewItemsToBasePlus(db, staged);
        }
        step("Committing...");
    });
    return counts;
}
