#include "validation/VerifyPass.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <map>
#include <memory>

#include "base/AppError.h"
#include "base/Connection.h"
#include "base/Grid.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/Dialect.h"

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

bool IsClassTable(const QString& table) { return table == "INVT_MT_CLASS" || table == "MT_CLASS"; }
bool IsClassKey(const QString& f) { return f == "CLASSTYPECODE" || f == "CLASSCODE"; }

QString Quoted(const QString& text) {
    const QChar quote = u'\'';
    return quote +
           (text.contains(quote) ? QString(text).replace(quote, QStringLiteral("''")) : text) +
           quote;
}

// One mapped column and the checks it gets, worked out once per pass.
struct Check {
    int row;          // mapping row
    int column;       // result-grid column
    QString f;        // trimmed, upper-cased target column
    int field;        // position of "TILL-" + f in the record
    bool blank;       // in the blank check list
    bool duplicate;   // in the duplicate list for this table
    bool characters;  // in the character check list
    bool numeric;     // the sheet column of the first row mapping f reads as numbers
    QString count;    // the duplicate count query on that column, up to the value compared
    bool needsText;   // some check reads the value's text
};

QVector<Check> PlanChecks(const VerifyInput& in, const Recordset& rs, const QString& from) {
    QVector<Check> checks;
    QHash<QString, int> firstRow;
    int column = 0;
    for (int i = 0; i < in.mapping.Rows(); ++i) {
        const QString f = ColumnKey(in.mapping.CellText(i, 1));
        if (f.isEmpty()) continue;
        if (!firstRow.contains(f)) firstRow[f] = i;
        const int first = firstRow[f];
        const bool skipped = f == "ITEMCODE" && (in.table == "MT_PLU" || in.table == "INVT_MT_BOM");
        const int field = rs.IndexOf("TILL-" + f);
        if (field < 0)
            throw AppError(3265,
                           "Item cannot be found in the collection corresponding to the "
                           "requested name or ordinal: TILL-" +
                               f);
        const QString e = in.mapping.CellText(first, 0);
        const bool blank = kBlankCheck.contains(f);
        const bool duplicate = kDuplicateCheck.contains(f) && !skipped;
        const bool characters = kCharacterCheck.contains(f);
        // Numbers are costly to write as text; most numeric columns need none.
        const bool needsText =
            blank || duplicate || characters || in.maxLength.value(i) < NoLengthLimit;
        checks.append({i, column++, f, field, blank, duplicate, characters,
                       in.mapping.CellText(first, 2) == "5",
                       "Select Count([" + e + "])" + from + "Where [" + e + "]=", needsText});
    }
    return checks;
}

// Appends each record to the file of its verdict; every file opened once.
class VerdictFiles {
public:
    explicit VerdictFiles(QString prefix) : prefix_(std::move(prefix)) {}
    void Append(const QString& verdict, const QString& line) {
        auto& file = files_[verdict];
        if (!file) {
            file = std::make_unique<QFile>(prefix_ + verdict + ".txt");
            if (!file->open(QIODevice::WriteOnly | QIODevice::Append))
                throw AppError(
                    ErrorNumber::FileAccess,
                    "Path/File access error: " + file->fileName() + " " + file->errorString());
        }
        const QByteArray bytes = line.toUtf8() + "\r\n";
        if (file->write(bytes) != bytes.size())
            throw AppError(ErrorNumber::FileAccess, "Path/File access error: " + file->fileName() +
                                                        " " + file->errorString());
    }

private:
    QString prefix_;
    std::map<QString, std::unique_ptr<QFile>> files_;
};

qlonglong Count(Connection& excel, const QString& sql) { return excel.Scalar(sql).toLongLong(); }

}  // namespace

QString CompositeKeyProblem(const Grid& mapping, const QString& table) {
    if (!IsClassTable(table)) return {};
    int keys = 0;
    for (int i = 0; i < mapping.Rows(); ++i)
        if (IsClassKey(ColumnKey(mapping.CellText(i, 1)))) ++keys;
    if (keys <= 2) return {};
    return "CLASSTYPECODE and CLASSCODE can each be mapped from one Excel field only !!!";
}

VerifyTotals RunVerifyPass(Connection& excel, Grid& result, const VerifyInput& in,
                           const std::function<void(int, int)>& progress) {
    const auto rs = excel.Open(in.query);
    const QString from = " From [" + in.sheet + "$] ";
    const QVector<Check> checks = PlanChecks(in, *rs, from);
    // The record's own sheet columns feed the verdict files, the "TILL-"
    // columns the result grid.
    QVector<int> sheetFields, tillFields;
    for (int j = 0; j < rs->FieldCount(); ++j)
        (rs->FieldAt(j).name.startsWith(u"TILL-") ? tillFields : sheetFields) << j;
    // The two key columns of a classification table, checked together.
    QVector<const Check*> keys;
    if (IsClassTable(in.table))
        for (const Check& c : checks)
            if (IsClassKey(c.f) && keys.size() < 2) keys << &c;
    VerdictFiles files(in.verdictPathPrefix);
    VerifyTotals totals;
    totals.total = rs->RecordCount();

    for (; !rs->Eof(); rs->MoveNext()) {
        const int position = rs->AbsolutePosition();
        progress(position, totals.total);
        const ErrorKind* kind = nullptr;  // the row's error, none while it is good
        QVector<int> marked;              // result columns of the failing cells
        const auto mark = [&](const ErrorKind& k, std::initializer_list<int> columns) {
            kind = &k;
            marked = columns;
        };
        for (const Check& c : checks) {
            if (kind) break;
            const QVariant v = rs->Value(c.field);
            const QString text = c.needsText ? ValueText(v) : QString();
            if (c.blank && text.isEmpty()) {
                mark(kNullValue, {c.column});
            } else if (c.duplicate && !v.isNull() &&
                       Count(excel, c.count + (c.numeric ? text : Quoted(text))) > 1) {
                mark(kDuplicateValue, {c.column});
            } else if (!v.isNull() && text.size() > in.maxLength.value(c.row)) {
                mark(kOverMaxLength, {c.column});
            } else if (c.characters && !v.isNull() && CheckString(text)) {
                mark(kStringError, {c.column});
            }
        }
        if (!kind && keys.size() == 2) {
            const QString k0 = in.mapping.CellText(keys[0]->row, 0);
            const QString k1 = in.mapping.CellText(keys[1]->row, 0);
            const QString sql =
                "Select Count([" + k0 + "])" + from + "Where CStr([" + k0 +
                "])=" + Quoted(ValueText(rs->Value(keys[0]->field))) + " " + "And CStr([" + k1 +
                "])=" + Quoted(ValueText(rs->Value(keys[1]->field))) + " " + "And CStr([" + k0 +
                "]) Is Not Null " + "And CStr([" + k1 + "]) Is Not Null ";
            if (Count(excel, sql) > 1) mark(kDuplicateValue, {keys[0]->column, keys[1]->column});
        }
        if (kind) {
            totals.errorsFound = true;
            const int row = result.Rows();
            result.InsertRows(row, 1);
            result.SetCellText(row, -1, QString::number(position + 1));
            for (int j : tillFields)
                if (j < result.Cols()) result.SetCellText(row, j, ValueText(rs->Value(j)));
            for (int c : marked) result.SetCellBackColor(row, c, kind->color);
        }
        QStringList line;
        for (int j : sheetFields) line << ValueText(rs->Value(j));
        static const QString kOk = "OK";
        files.Append(kind ? kind->verdict : kOk, line.join('\t'));
    }
    totals.bad = result.Rows();
    return totals;
}
