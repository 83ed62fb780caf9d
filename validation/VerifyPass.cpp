#include "validation/VerifyPass.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>
#include <optional>

#include "base/AppError.h"
#include "base/ColumnValue.h"
#include "base/Connection.h"
#include "base/Grid.h"
#include "base/SqlText.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/Dialect.h"
#include "mapping/Catalogue.h"
#include "validation/RepeatedValues.h"
#include "validation/VerdictFiles.h"
#include "validation/VerdictLines.h"

namespace {

const QSet<QString> kBlankCheck{"CLASSTYPECODE", "CLASSCODE",  "ITEMCODE",      "PLUCODE",
                                "CREDITORCODE",  "DEBTORCODE", "ITEMGROUPCODE", "MEMBERCODE",
                                "BOMGROUPCODE",  "BOMITEMCODE"};
const QSet<QString> kDuplicateCheck{"ITEMCODE",   "PLUCODE",       "CREDITORCODE",
                                    "DEBTORCODE", "ITEMGROUPCODE", "MEMBERCODE"};
const QSet<QString> kCharacterCheck{
    "CLASSTYPECODE",   "CLASSCODE",       "ITEMCODE",        "PLUCODE",
    "CLASSCODE1",      "CLASSCODE2",      "CLASSCODE3",      "CLASSCODE4",
    "CLASSCODE5",      "CLASSCODE6",      "CLASSCODE7",      "CLASSCODE8",
    "CLASSCODE9",      "CLASSCODE10",     "CYCLECODE",       "ITEMGROUPCODE",
    "SPECIALTYPECODE", "BASEDMEASURE",    "PORTIONMEASURE",  "APPCODE",
    "TRSOUTLET",       "DEFLOCATIONCODE", "REFPOSCODE",      "REFPRINTERGROUPCODE",
    "REFTAXCODE",      "REFCHARGECODE",   "REFDISCOUNTCODE", "REFSEASONCODE",
    "GLGROUPCODE",     "DEFCREDITORCODE", "AUTONOTECODE",    "CREDITORCODE",
    "DEBTORCODE",      "GLCODE",          "AREACODE",        "MULTICURRENCYCODE",
    "MEMBERCODE",      "REFCODE",         "BOMGROUPCODE",    "BOMITEMCODE"};

bool IsClassTable(const QString& table) {
    return table == Table::kStockClass || table == Table::kClass;
}
bool IsClassKey(const QString& f) { return f == "CLASSTYPECODE" || f == "CLASSCODE"; }
// A PLU or bill-of-materials sheet names an item once per PLU or component.
bool ItemCodesRepeat(const QString& table) { return table == Table::kPlu || table == Table::kBom; }

// One mapped column and the checks it gets, worked out once per pass.
struct Check {
    int row;                 // mapping row
    int column;              // result-grid column
    QString f;               // trimmed, upper-cased target column
    int field;               // position of "TILL-" + f in the record
    bool blank;              // in the blank check list
    bool duplicate;          // in the duplicate list for this table
    bool characters;         // in the character check list
    bool numeric;            // the sheet column of the first row mapping f reads as numbers
    int maxLength;           // 0 when the column was not found, NoLengthLimit for any length
    Field target;            // the target column, whose limits the value must keep
    QString count;           // the duplicate count query on that column, up to the value compared
    bool needsText;          // some check reads the value's text
    RepeatedValues repeats;  // what the duplicate check's column repeats
};

// The position of a field the verify query must have; a missing one raises
// the runtime's "item not found".
int RequiredField(const Recordset& rs, const QString& name) {
    const int field = rs.IndexOf(name);
    if (field < 0)
        throw AppError(3265,
                       "Item cannot be found in the collection corresponding to the "
                       "requested name or ordinal: " +
                           name);
    return field;
}

QVector<Check> PlanChecks(Connection& excel, const VerifyInput& in, const Recordset& rs,
                          const QString& from) {
    QVector<Check> checks;
    QHash<QString, int> firstRow;
    int column = 0;
    for (int i = 0; i < in.mapping.Rows(); ++i) {
        const QString f = ColumnKey(in.mapping.CellText(i, 1));
        if (f.isEmpty()) continue;
        if (!firstRow.contains(f)) firstRow[f] = i;
        const int first = firstRow[f];
        const int field = RequiredField(rs, "TILL-" + f);
        const QString e = BracketName(in.mapping.CellText(first, 0));
        const bool blank = kBlankCheck.contains(f);
        const bool duplicate =
            kDuplicateCheck.contains(f) && !(f == "ITEMCODE" && ItemCodesRepeat(in.table));
        const bool characters = kCharacterCheck.contains(f);
        const int maxLength = in.maxLength.value(i);
        // Numbers are costly to write as text; most numeric columns need none.
        const bool needsText = blank || duplicate || characters || maxLength < NoLengthLimit;
        const RepeatedValues repeats =
            duplicate ? RepeatedValues::OfColumn(
                            excel,
                            "Select " + e + from + "Group By " + e + " Having Count(" + e + ") > 1",
                            rs, field)
                      : RepeatedValues();
        checks.append({i, column++, f, field, blank, duplicate, characters,
                       in.mapping.CellText(first, 2) == TypeWord(TypeCode::Double), maxLength,
                       in.targets.value(i), "Select Count(" + e + ")" + from + "Where " + e + "=",
                       needsText, repeats});
    }
    return checks;
}

// The two key columns of a classification table, which must not repeat
// together. The count query is made once per pass, around the two values.
struct KeyPair {
    int fields[2];   // record fields of the two keys
    int columns[2];  // their result-grid columns
    QString head;    // the query up to the first value
    QString middle;  // between the two values
    QString tail;    // after the second value
    RepeatedValues repeats;
};

std::optional<KeyPair> PlanKeyPair(Connection& excel, const VerifyInput& in,
                                   const QVector<Check>& checks, const QString& from) {
    if (!IsClassTable(in.table)) return std::nullopt;
    QVarLengthArray<const Check*, 2> keys;
    for (const Check& c : checks)
        if (IsClassKey(c.f) && keys.size() < 2) keys.append(&c);
    if (keys.size() < 2) return std::nullopt;
    const QString k0 = BracketName(in.mapping.CellText(keys[0]->row, 0));
    const QString k1 = BracketName(in.mapping.CellText(keys[1]->row, 0));
    const QString c0 = "CStr(" + k0 + ")";
    const QString c1 = "CStr(" + k1 + ")";
    const QString bothGiven = c0 + " Is Not Null And " + c1 + " Is Not Null ";
    return KeyPair{
        {keys[0]->field, keys[1]->field},
        {keys[0]->column, keys[1]->column},
        "Select Count(" + k0 + ")" + from + "Where " + c0 + "=",
        " And " + c1 + "=",
        " And " + bothGiven,
        RepeatedValues(excel, "Select " + c0 + ", " + c1 + from + "Where " + bothGiven +
                                  "Group By " + c0 + ", " + c1 + " Having Count(" + k0 + ") > 1")};
}

// What a pass works out once, before its first record.
struct PassPlan {
    QVector<Check> checks;
    std::optional<KeyPair> keys;  // classification tables only
    QVector<int> sheetFields;     // the record's own sheet columns, for the verdict files
    QVector<int> tillFields;      // its "TILL-" columns, for the result grid
};

PassPlan PlanPass(Connection& excel, const VerifyInput& in, const Recordset& rs) {
    const QString from = " From " + BracketName(in.sheet + "$") + " ";
    PassPlan plan{PlanChecks(excel, in, rs, from), std::nullopt, {}, {}};
    plan.keys = PlanKeyPair(excel, in, plan.checks, from);
    for (int j = 0; j < rs.FieldCount(); ++j)
        (rs.FieldAt(j).name.startsWith(u"TILL-") ? plan.tillFields : plan.sheetFields) << j;
    return plan;
}

bool CountsMoreThanOne(Connection& excel, const QString& sql) {
    return excel.Scalar(sql).toLongLong() > 1;
}

// The sheet holds the value more than once; a number column compares numbers.
bool IsRepeated(Connection& excel, const Check& c, const QString& text) {
    if (!c.numeric)
        if (const std::optional<bool> repeats = c.repeats.Repeats(text)) return *repeats;
    return c.repeats.MayMatch({text}, !c.numeric) &&
           CountsMoreThanOne(excel, c.count + (c.numeric ? text : SqlLiteral(text)));
}

// The sheet holds the record's pair of classification keys more than once.
bool IsRepeatedPair(Connection& excel, const KeyPair& k, const Recordset& rs) {
    const QString first = ValueText(rs.Value(k.fields[0]));
    const QString second = ValueText(rs.Value(k.fields[1]));
    return k.repeats.MayMatch({first, second}, true) &&
           CountsMoreThanOne(excel,
                             k.head + SqlLiteral(first) + k.middle + SqlLiteral(second) + k.tail);
}

// The rule a cell breaks first, or none: a key left blank, a value the sheet
// repeats, a text longer than its column, characters a code may not hold,
// a value its column cannot hold exactly. An error cell holds no value at all.
const ErrorKind* CellVerdict(Connection& excel, const Check& c, const QVariant& v) {
    if (IsCellError(v)) return &kInvalidValue;
    const QString text = c.needsText ? ValueText(v) : QString();
    if (c.blank && text.isEmpty()) return &kNullValue;
    if (!v.isNull()) {
        if (c.duplicate && IsRepeated(excel, c, text)) return &kDuplicateValue;
        if (text.size() > c.maxLength) return &kOverMaxLength;
        if (c.characters && (CheckString(text) || HasControlCharacter(text))) return &kStringError;
    }
    if (!ToColumn(c.target, v).problem.isEmpty()) return &kInvalidValue;
    return nullptr;
}

// Why a record is rejected: the first failing check and the result-grid
// columns it colours. No kind when the record is good.
struct Failure {
    const ErrorKind* kind = nullptr;
    QVarLengthArray<int, 2> columns;
};

// Cells in mapping order, then the pair of classification keys.
Failure FirstFailure(Connection& excel, const PassPlan& plan, const Recordset& rs) {
    for (const Check& c : plan.checks)
        if (const ErrorKind* kind = CellVerdict(excel, c, rs.Value(c.field)))
            return {kind, {c.column}};
    if (plan.keys && IsRepeatedPair(excel, *plan.keys, rs))
        return {&kDuplicateValue, {plan.keys->columns[0], plan.keys->columns[1]}};
    return {};
}

// The rejected record's row in the result grid: its sheet row number (the
// header is row 1), its "TILL-" values, and the failing cells coloured. An
// error cell shows its error, which is what the user must mend.
void AddRejectedRow(Grid& result, const Recordset& rs, const QVector<int>& tillFields,
                    const Failure& failure) {
    const int row = result.Rows();
    result.InsertRows(row, 1);
    result.SetCellText(row, -1, QString::number(rs.AbsolutePosition() + 1));
    for (int j : tillFields)
        if (j < result.Cols()) {
            const QVariant v = rs.Value(j);
            result.SetCellText(row, j, IsCellError(v) ? v.value<CellError>().text : ValueText(v));
        }
    for (int c : failure.columns) result.SetCellBackColor(row, c, failure.kind->color);
}

}  // namespace

QString ValueProblem(const QString& column, const QString& value, const Field& target,
                     int maxLength) {
    if (maxLength == 0) return "is for a column the table does not have";
    if (value.size() > maxLength)
        return QString("is longer than the column's %1 characters").arg(maxLength);
    if (kCharacterCheck.contains(ColumnKey(column)) &&
        (CheckString(value) || HasControlCharacter(value)))
        return "holds a character a code cannot: a space, ', \", # or a control character";
    return ToColumn(target, value).problem;
}

VerifyTotals RunVerifyPass(Connection& excel, Grid& result, const VerifyInput& in,
                           const std::function<void(int, int)>& progress) {
    const auto rs = excel.Open(in.query);
    const PassPlan plan = PlanPass(excel, in, *rs);
    VerdictFiles files(in.verdictPathPrefix);
    VerdictLines lines(*rs, plan.sheetFields);
    VerifyTotals totals;
    totals.total = rs->RecordCount();
    static const QString kOk = "OK";
    for (; !rs->Eof(); rs->MoveNext()) {
        progress(rs->AbsolutePosition(), totals.total);
        const Failure failure = FirstFailure(excel, plan, *rs);
        if (failure.kind) {
            totals.errorsFound = true;
            AddRejectedRow(result, *rs, plan.tillFields, failure);
        }
        files.Append(failure.kind ? failure.kind->verdict : kOk,
                     lines.Take(rs->AbsolutePosition()));
    }
    files.Close();
    totals.bad = result.Rows();
    totals.verdictFiles = files.Names();
    return totals;
}
