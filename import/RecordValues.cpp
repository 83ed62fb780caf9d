#include "import/RecordValues.h"

#include "base/Grid.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "import/BomRollUp.h"
#include "import/Companions.h"
#include "import/DefaultValues.h"

namespace {

// A sheet's cell as the target column takes it: a number column the number
// its text shows, so an empty cell writes 0; a bit column 0 for an empty
// cell and the text otherwise (1, 0, True, False); any other column the text.
QVariant TargetValue(const QVariant& cell, int type) {
    if (IsNumberType(type))
        return cell.typeId() == QMetaType::Double ? NumberShown(cell.toDouble())
                                                  : Val(ValueText(cell));
    const QString text = ValueText(cell);
    if (type == TypeCode::Boolean && text.trimmed().isEmpty()) return false;
    return text;
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
            r.target.SetValue(k, TargetValue(r.sheet.Value(p), r.target.FieldAt(k).type));
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
