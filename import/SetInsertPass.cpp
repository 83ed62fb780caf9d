#include "import/SetInsertPass.h"

#include <thread>

#include "base/Connection.h"
#include "database/DbConnection.h"
#include "database/StagedRows.h"
#include "database/TableShape.h"
#include "import/BomRollUp.h"
#include "import/CompanionStage.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"
#include "import/Handover.h"
#include "import/RecordValues.h"
#include "mapping/Catalogue.h"

namespace {

// A field no rule gave a value: a stored record keeps its own there.
struct Untouched {};

// The base-unit PLUs of every item written, new or updated, take the item's
// texts and prices, in one statement for the whole sheet. Where no stored
// item was written, only the new ones are looked through.
void CopyItemsToBasePlus(DbConnection& db, const StagedRows& items, bool anyUpdated) {
    const Dialect& d = db.SqlDialect();
    QStringList sets;
    for (const QString& c : ItemToPluFields()) sets << d.Quote(c) + " = I." + d.Quote(c);
    const QString plu = d.Quote(Table::kPlu);
    const QString code = d.Quote("ITEMCODE");
    db.Execute(
        d.UpdateFrom(
            plu, sets.join(", "), d.Quote(Table::kItem) + " As I",
            "I." + code + " = " + plu + "." + code,
            plu + "." + d.Quote("UOMQTY") + " = ? And " + plu + "." + code + " In " +
                items.Keys("ITEMCODE", anyUpdated ? StagedRows::Rows::All : StagedRows::Rows::New)),
        {1});
}

// The records worked out in a stretch of the sheet, handed from the thread
// that works them out to the one that writes them.
struct Batch {
    QVector<StagedRow> rows;
    QList<CompanionRows> companions;
    int position = 0;  // of the last sheet record read
    int skipped = 0;
};

// Sheet records a batch covers: enough to fill several statements, few
// enough that writing starts early.
constexpr int kBatchRecords = 1000;

// What working out the records reads. None of it changes meanwhile; only
// the worker moves through the sheet.
struct RecordWork {
    const InsertInput& in;
    DbConnection& db;  // for the rules' context: no rule of a set pass reads the database
    Recordset& sheet;
    const QVector<Field>& fields;  // the target record's
    const QVector<int>& fieldOf;   // the field of each written column
    const QSet<int>& rejected;
    const QHash<QString, QString>& setupCodes;
};

// Works out each accepted record's values and companions, as the per-record
// pass does, a batch at a time, until the sheet ends or stop is asked.
void WorkOutRecords(std::stop_token stop, const RecordWork& w, Handover<Batch>& out) {
    try {
        CompanionStage companions;
        const Recordset::Row untouched(w.fields.size(), QVariant::fromValue(Untouched{}));
        Batch batch;
        const auto hand = [&] {
            batch.companions = companions.TakeAdded();
            out.Put(std::exchange(batch, {}));
        };
        for (; !w.sheet.Eof() && !stop.stop_requested(); w.sheet.MoveNext()) {
            batch.position = w.sheet.AbsolutePosition();
            if (w.rejected.contains(batch.position + 1)) {
                ++batch.skipped;
            } else {
                Recordset target(w.fields, {untouched});
                RecordContext r{w.db, w.sheet, target, w.in.table, w.setupCodes, w.in.today};
                r.companions = &companions;
                FillRecord(w.in, r);
                StagedRow row;
                row.values.reserve(w.fieldOf.size());
                row.given.reserve(w.fieldOf.size());
                for (int i : w.fieldOf) {
                    const QVariant value = target.Value(i);
                    const bool given = value.metaType() != QMetaType::fromType<Untouched>();
                    row.values << (given ? value : QVariant());
                    row.given << given;
                }
                batch.rows << std::move(row);
            }
            if (batch.rows.size() + batch.skipped >= kBatchRecords) hand();
        }
        if (batch.position > 0) hand();
        out.Close();
    } catch (...) {
        out.Close(std::current_exception());
    }
}

// Raised through the set's transaction when the user stops it.
struct Stopped {};

// Runs the work in one transaction; false when the user stopped it, which
// takes back what it wrote: companion records are created as they come.
bool RanToEnd(DbConnection& db, const std::function<void()>& work) {
    try {
        db.RunInTransaction(work);
        return true;
    } catch (const Stopped&) {
        return false;
    }
}

// How many of the sheet's records Verify did not reject.
int AcceptedRecords(int records, const QSet<int>& rejected) {
    int accepted = records;
    for (int row : rejected)
        if (row >= 2 && row <= records + 1) --accepted;
    return accepted;
}

}  // namespace

std::optional<InsertCounts> RunSetInsertPass(Connection& excel, DbConnection& db,
                                             const InsertInput& in,
                                             const std::function<bool(int, int)>& progress,
                                             const std::function<void(const QString&)>& step) {
    if (!GoesAsSet(in.table)) return std::nullopt;
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
    const int records = sheet->RecordCount();
    const int accepted = AcceptedRecords(records, rejected);
    InsertCounts counts;
    const bool ran = RanToEnd(db, [&] {
        // An item's PLUs are found by its code.
        StagedRows staged(db, in.table, columns, keys,
                          in.table == Table::kItem ? QStringList{"ITEMCODE"} : QStringList{});
        CompanionWriter companions(db);
        Handover<Batch> batches;
        // The records are worked out on a second thread while this one
        // stages (or on SQLite adds) those ready. The connection stays on
        // this thread.
        const std::jthread worker(
            WorkOutRecords,
            RecordWork{in, db, *sheet, shape->fields, fieldOf, rejected, setupCodes},
            std::ref(batches));
        int stagedRows = 0;
        int reported = 0;  // records progress was told of
        while (std::optional<Batch> batch = batches.Take()) {
            counts.skipped += batch->skipped;
            companions.Stage(batch->companions);
            stagedRows += int(batch->rows.size());
            staged.Append(std::move(batch->rows));
            // Each record is reported, so that a stop comes at the record it
            // was asked at.
            for (; reported < batch->position; ++reported)
                if (!progress(reported + 1, records)) throw Stopped{};
            step(QString("Staging rows... %1 of %2").arg(stagedRows).arg(accepted));
        }
        step("Adding missing companion records...");
        companions.Write();
        step("Finding stored records...");
        counts.inserted = staged.MarkNew();
        // Verify lets a bill's line through twice.
        if (in.table == Table::kBom) staged.RefuseRepeatedKeys();
        counts.updated = stagedRows - counts.inserted;
        step("Updating stored records...");
        staged.UpdateStored();
        step("Adding new records...");
        staged.AddNew();
        if (in.table == Table::kItem) {
            step("Copying items to their PLUs...");
            CopyItemsToBasePlus(db, staged, counts.updated > 0);
        }
        if (in.table == Table::kBom) {
            step("Rolling up bill costs...");
            RollUpBomCosts(db, staged, in.today);
        }
        step("Committing...");
    });
    // Stopped, nothing is written; the rejected rows passed stay skipped.
    return ran ? counts : InsertCounts{0, 0, counts.skipped};
}

bool GoesAsSet(const QString& table) {
    // PLU rules read stored records between records.
    return table != Table::kPlu;
}
