#include "import/InsertPass.h"

#include <QSet>
#include <algorithm>

#include "base/AppError.h"
#include "base/Grid.h"
#include "base/Recordset.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "import/BomRollUp.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"
#include "import/RecordValues.h"
#include "import/SetInsertPass.h"
#include "mapping/Catalogue.h"

namespace {

// Records committed together: on an SQLite file a commit costs more than a
// record; on a server, where a lost connection takes the group in progress
// with it, fewer, yet enough that a transaction's round trips are few.
int GroupSize(Engine engine) { return engine == Engine::SQLite ? 1000 : 100; }

// Writes one sheet record; answers whether a new record was added.
bool WriteRecord(const InsertInput& in, DbConnection& db, const Recordset& sheet,
                 const QHash<QString, QString>& setupCodes) {
    const auto target = db.OpenTable({in.table, Columns(in), KeyCriteria(in, sheet)});
    const bool added = target->Eof();
    if (added) target->AddNew();
    const RecordContext r{db, sheet, *target, in.table, setupCodes, in.today};
    FillRecord(in, r);
    target->Update();
    if (in.table == Table::kBom) RollUpBomCosts(r);
    if (in.table == Table::kItem) CopyItemToBasePlu(r);
    if (in.table == Table::kPlu) CopyBasePluToItem(r);
    return added;
}

// A sheet record that could not be written, named by its row; the records
// before it were.
class RecordFailure : public AppError {
public:
    RecordFailure(const AppError& cause, const QString& rows)
        : AppError(cause.Number(), rows + cause.Description()), cause(cause.Description()) {}
    QString cause;  // without the row
};

// The start of a failure's description: the sheet rows it concerns.
QString SheetRows(int first, int last) {
    return first == last ? "Row " + QString::number(first) + " of the sheet: "
                         : "Rows " + QString::number(first) + " to " + QString::number(last) +
                               " of the sheet: ";
}

// The records one at a time: the reference the set is held to, and the
// way that names the row a failure comes from.
InsertCounts WriteRecordByRecord(Connection& excel, DbConnection& db, const InsertInput& in,
                                 const std::function<bool(int, int)>& progress) {
    const auto sheet = excel.Open(InsertQuery(in.table, in.sheet, in.lists));
    const QHash<QString, QString> setupCodes = ReadSetupCodes(in.home);
    const QSet<int> rejected = RejectedRows(in.rejected);
    bool stopped = false;
    // Writes up to limit records from the current one; a failing record
    // raises, naming its row, and stays current.
    const auto writeRecords = [&](int limit) {
        InsertCounts counts;
        for (int n = 0; n < limit && !sheet->Eof(); ++n, sheet->MoveNext()) {
            const int position = sheet->AbsolutePosition();
            if (!progress(position, sheet->RecordCount())) {
                stopped = true;
                break;
            }
            const int row = position + 1;
            if (rejected.contains(row)) {
                ++counts.skipped;
                continue;
            }
            try {
                ++(WriteRecord(in, db, *sheet, setupCodes) ? counts.inserted : counts.updated);
            } catch (const AppError& e) {
                throw RecordFailure(e, SheetRows(row, row));
            }
        }
        return counts;
    };
    // A record is kept whole or not at all: an item never stays without the
    // PLU copy that follows it, so running the sheet again mends a failure.
    // Records are committed in groups. When a record fails, its group is
    // rolled back and the records before it are written again, so that they
    // stay saved; where that fails too (the connection is lost), the group's
    // rows are named, since only the records before it are saved.
    const int groupSize = GroupSize(db.SqlDialect().Kind());
    InsertCounts total;
    const auto add = [&](const InsertCounts& c) {
        total.inserted += c.inserted;
        total.updated += c.updated;
        total.skipped += c.skipped;
    };
    while (!sheet->Eof() && !stopped) {
        const int first = sheet->AbsolutePosition();
        try {
            db.RunInTransaction([&] { add(writeRecords(groupSize)); });
        } catch (const RecordFailure& failure) {
            const int failed = sheet->AbsolutePosition();
            sheet->MoveTo(first);
            try {
                if (failed > first) db.RunInTransaction([&] { add(writeRecords(failed - first)); });
            } catch (const AppError&) {
                throw AppError(failure.Number(), SheetRows(first + 1, failed + 1) + failure.cause);
            }
            throw;
        } catch (const AppError& e) {
            // The group's transaction failed to begin or to commit: none of
            // its records were kept. Its last record stands before the
            // current position; one that never began names where it stopped.
            throw AppError(e.Number(),
                           SheetRows(first + 1, std::max(first + 1, sheet->AbsolutePosition())) +
                               e.Description());
        }
    }
    return total;
}

}  // namespace

InsertCounts RunInsertPass(Connection& excel, DbConnection& db, const InsertInput& in,
                           const std::function<bool(int, int)>& progress,
                           const std::function<void(const QString&)>& step,
                           const std::function<void(const QString&)>& notice) {
    if (in.asSet) {
        try {
            if (const auto counts = RunSetInsertPass(excel, db, in, progress, step)) return *counts;
        } catch (const AppError& e) {
            // Rolled back: one record at a time names the failing row, if any.
            notice(QString("The sheet could not be written as a set (error %1: %2); it is "
                           "written record by record, which takes longer.")
                       .arg(e.Number())
                       .arg(e.Description()));
        }
    }
    return WriteRecordByRecord(excel, db, in, progress);
}
