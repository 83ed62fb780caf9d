#include "import/InsertPass.h"

#include <QSet>

#include "base/AppError.h"
#include "base/Grid.h"
#include "base/Recordset.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "import/BomRollUp.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"
#include "mapping/Catalogue.h"

namespace {

// Records committed together on an SQLite file.
constexpr int kGroupSize = 1000;

// A sheet's text as the target column takes it: a number column its number,
// so an empty cell writes 0; a bit column 0 for an empty cell and the text
// otherwise (1, 0, True, False); any other column the text.
QVariant TargetValue(const QString& text, int type) {
    if (IsNumberType(type)) return Val(text);
    if (type == TypeCode::Boolean && text.trimmed().isEmpty()) return false;
    return text;
}

QSet<int> RejectedRows(const Grid& rejected) {
    QSet<int> rows;
    for (int i = 0; i < rejected.Rows(); ++i)
        rows.insert(static_cast<int>(Val(rejected.CellText(i, -1))));
    return rows;
}

QStringList Columns(const InsertInput& in) {
    QStringList columns = in.lists.target.split(',');
    if (!in.defaultFieldList.isEmpty()) columns += in.defaultFieldList.mid(1).split(',');
    return columns;
}

QList<QPair<QString, QVariant>> KeyCriteria(const InsertInput& in, const Recordset& sheet) {
    QList<QPair<QString, QVariant>> where;
    for (int j = 0; j < 3; ++j) {
        const QString& key = in.keyFields[j];
        if (j > 0 && key.isEmpty()) continue;
        where.append({key, ValueText(sheet.Value("TILL-" + key))});
    }
    return where;
}

// Copies the mapped columns: target field k takes sheet field p, where p
// steps over the TYPE column of a bill of material, which feeds no column,
// whichever rule the target column has: otherwise a TYPE column just before
// BOMITEMCODE would shift every later value one column.
void CopyMappedColumns(const RecordContext& r, int mapped) {
    int p = 0;
    for (int k = 0; k < mapped; ++k, ++p) {
        if (p < r.sheet.FieldCount() && ColumnKey(r.sheet.FieldAt(p).name) == "TILL-TYPE") ++p;
        const QString name = ColumnKey(r.target.FieldAt(k).name);
        if (name == "PLUCODE") {
            ApplyPluRule(r, k);
        } else if (name == "BOMITEMCODE") {
            ApplyBomLineRule(r, k);
        } else {
            r.target.SetValue(k,
                              TargetValue(ValueText(r.sheet.Value(p)), r.target.FieldAt(k).type));
        }
    }
}

// Writes one sheet record; answers whether a new record was added.
bool WriteRecord(const InsertInput& in, DbConnection& db, const Recordset& sheet) {
    const auto target = db.OpenTable({in.table, Columns(in), KeyCriteria(in, sheet)});
    const bool added = target->Eof();
    if (added) target->AddNew();
    const RecordContext r{db, sheet, *target, in.table, in.home, in.today};
    CopyMappedColumns(r, target->FieldCount() - in.defaultFieldCount);
    for (int i = 0; i < in.mustDefault.Rows(); ++i)
        if (in.mustDefault.RowHeight(i) != 0) ApplyDefault(r, in.mustDefault.CellText(i, 0));
    target->Update();
    if (in.table == Table::kBom) RollUpBomCosts(r);
    if (added && in.table == Table::kItem) CopyItemToBasePlu(r);
    return added;
}

// A sheet record that could not be written; the records before it were.
class RecordFailure : public AppError {
public:
    using AppError::AppError;
};

// The start of a failure's description: the sheet rows it concerns.
QString SheetRows(int first, int last) {
    return first == last ? "Row " + QString::number(first) + " of the sheet: "
                         : "Rows " + QString::number(first) + " to " + QString::number(last) +
                               " of the sheet: ";
}

}  // namespace

InsertCounts RunInsertPass(Connection& excel, DbConnection& db, const InsertInput& in,
                           const std::function<bool(int, int)>& progress) {
    const auto sheet = excel.Open(InsertQuery(in.table, in.sheet, in.lists));
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
                ++(WriteRecord(in, db, *sheet) ? counts.inserted : counts.updated);
            } catch (const AppError& e) {
                throw RecordFailure(e.Number(), SheetRows(row, row) + e.Description());
            }
        }
        return counts;
    };
    // A record is kept whole or not at all: an item never stays without the
    // PLU copy that follows it, so running the sheet again mends a failure.
    // An SQLite file commits records in groups, since a commit there costs
    // more than a record; when one fails, its group is rolled back and the
    // records before it are written again, so that they stay saved.
    const int groupSize = db.SqlDialect().Kind() == Engine::SQLite ? kGroupSize : 1;
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
        } catch (const RecordFailure&) {
            const int failed = sheet->AbsolutePosition();
            sheet->MoveTo(first);
            if (failed > first) db.RunInTransaction([&] { add(writeRecords(failed - first)); });
            throw;
        } catch (const AppError& e) {
            // The commit failed: none of the group's records were kept. The
            // group's last record stands before the current position.
            throw AppError(e.Number(),
                           SheetRows(first + 1, sheet->AbsolutePosition()) + e.Description());
        }
    }
    return total;
}
