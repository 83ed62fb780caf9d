#include "import/RecordValues.h"

#include "base/AppError.h"
#include "base/ColumnValue.h"
#include "base/Grid.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "import/BomRollUp.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"

namespace {

// A sheet's cell as the target column stores it. Verify refuses a cell the
// column cannot hold; one that gets here all the same stops the record, so
// that no wrong value is written in its place.
QVariant TargetValue(const Field& column, const QVariant& cell) {
    ColumnValue converted = ToColumn(column, cell);
    if (!converted.problem.isEmpty())
        throw AppError(ErrorNumber::WrongType, "\"" + ValueText(cell) + "\" cannot go into " +
                                                   column.name + ": it " + converted.problem + ".");
    return std::move(converted.value);
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
            r.target.SetValue(k, TargetValue(r.target.FieldAt(k), r.sheet.Value(p)));
        }
    }
}

}  // namespace

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

Criteria KeyCriteria(const InsertInput& in, const Recordset& sheet) {
    Criteria where;
    for (int j = 0; j < 3; ++j) {
        const QString& key = in.keyFields[j];
        if (j > 0 && key.isEmpty()) continue;
        where.append({key, ValueText(sheet.Value("TILL-" + key))});
    }
    return where;
}

void FillRecord(const InsertInput& in, const RecordContext& r) {
    CopyMappedColumns(r, r.target.FieldCount() - in.defaultFieldCount);
    for (int i = 0; i < in.mustDefault.Rows(); ++i)
        if (in.mustDefault.RowHeight(i) != 0) ApplyDefault(r, in.mustDefault.CellText(i, 0));
}
