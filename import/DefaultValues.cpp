#include "import/DefaultValues.h"

#include <QHash>
#include <functional>
#include <utility>

#include "base/Ini.h"
#include "base/ValueText.h"
#include "import/Companions.h"
#include "mapping/Catalogue.h"

namespace {

// Fills one default entry of the target record.
using Action = std::function<void(const RecordContext& r, const QString& entry)>;

// The entries one rule fills: a single name, or a name followed by each
// number from first to last, where 0 stands for the bare name.
struct Entries {
    Entries(const char* name) : names{QString(name)} {}  // most rules fill one entry
    explicit Entries(QStringList list) : names(std::move(list)) {}
    QStringList names;
};

Entries Numbered(const QString& name, int first, int last) {
    QStringList names;
    for (int n = first; n <= last; ++n) names << (n == 0 ? name : name + QString::number(n));
    return Entries(std::move(names));
}

struct DefaultRule {
    const char* table;
    Entries entries;
    Action action;
};

// The reference codes of GSETUP.ini (section DEFAULTDEFCODE): the column
// each fills, the key it is read under, and its fallback when the file does
// not set it.
struct SetupCode {
    const char* table;
    const char* column;
    const char* key;
    const char* fallback;
};
constexpr SetupCode kSetupCodes[] = {
    {Table::kStockClass, "APPCODE", "App", "NIL"},
    {Table::kStockItem, "REFPOSCODE", "General", "DEF"},
    {Table::kStockItem, "REFPRINTERGROUPCODE", "Printer", "K1"},
    {Table::kStockItem, "REFTAXCODE", "Tax", "NON-TAX"},
    {Table::kStockItem, "REFCHARGECODE", "ServiceCharge", "NON-SERV"},
    {Table::kStockItem, "REFDISCOUNTCODE", "Discount", "NON-DISC"},
    {Table::kStockItem, "REFSEASONCODE", "Season", "NON"},
};

QString SetupValue(const SetupCode& code, const QHash<QString, QString>& setupCodes) {
    const QString value = setupCodes.value(QString(code.key).toUpper());
    return value.isEmpty() ? QString(code.fallback) : value;
}

Action FromSetup(const SetupCode& code) {
    return [code](const RecordContext& r, const QString& entry) {
        r.target.SetValue(entry, SetupValue(code, r.setupCodes));
    };
}

// The text of another sheet column, which must have one.
Action TextOfColumn(const QString& column) {
    return [column](const RecordContext& r, const QString& entry) {
        r.target.SetValue(entry, TextOf(r, column));
    };
}

// The first n characters of another sheet column.
Action LeftOf(const QString& column, int n) {
    return [column, n](const RecordContext& r, const QString& entry) {
        r.target.SetValue(entry, Left(r.V(column), n));
    };
}

void Today(const RecordContext& r, const QString& entry) { r.target.SetValue(entry, r.today); }

void PluOfItemCode(const RecordContext& r, const QString&) { CreatePluOfItemCode(r); }

void ItemOfPlu(const RecordContext& r, const QString&) { CreateItemOfPlu(r); }

// The sheet's item type when it is one the till knows, else "I".
void ItemTypeOrI(const RecordContext& r, const QString&) {
    static const QStringList kTypes{"I", "N", "C", "P"};
    const bool given =
        FieldExists(r.sheet, "TILL-ITEMTYPE") && kTypes.contains(ValueText(r.V("ITEMTYPE")));
    r.target.SetValue("ITEMTYPE", given ? r.V("ITEMTYPE") : QVariant("I"));
}

// The sheet's reference code when it has one, else "DEF".
void RefCodeOrDef(const RecordContext& r, const QString&) {
    const bool given = FieldExists(r.sheet, "TILL-REFCODE") && !ValueText(r.V("REFCODE")).isEmpty();
    r.target.SetValue("REFCODE", given ? r.V("REFCODE") : QVariant("DEF"));
}

// Every default rule, by table and entry.
const QHash<std::pair<QString, QString>, Action>& Rules() {
    static const auto rules = [] {
        const DefaultRule table[] = {
            {Table::kStockItem, "ITEMCODE AS PLUCODE", PluOfItemCode},
            {Table::kStockItem, "DATECREATED", Today},
            {Table::kStockItem, Numbered("POSDESCRIPTION", 0, 10), TextOfColumn("ITEMNAME")},
            {Table::kItem, "ITEMCODE AS PLUCODE", PluOfItemCode},
            {Table::kItem, "DATECREATED", Today},
            {Table::kItem, Numbered("POSDESCRIPTION", 0, 3), LeftOf("ITEMNAME", 40)},
            {Table::kItem, "BUTTONDESC", LeftOf("ITEMNAME", 20)},
            {Table::kItem, "ITEMTYPE", ItemTypeOrI},
            {Table::kItem, "REFCODE", RefCodeOrDef},
            {Table::kPlu, "ITEMCODE", ItemOfPlu},
            {Table::kPlu, Numbered("POSDESCRIPTION", 1, 3), TextOfColumn("POSDESCRIPTION")},
            {Table::kPlu, "BUTTONDESC", LeftOf("POSDESCRIPTION", 20)},
            {Table::kMember, "MEMBERNAME", TextOfColumn("MEMBERCODE")},
        };
        QHash<std::pair<QString, QString>, Action> byKey;
        for (const SetupCode& code : kSetupCodes)
            byKey.insert({code.table, code.column}, FromSetup(code));
        for (const DefaultRule& rule : table)
            for (const QString& entry : rule.entries.names)
                byKey.insert({rule.table, entry}, rule.action);
        return byKey;
    }();
    return rules;
}

}  // namespace

QHash<QString, QString> ReadSetupCodes(const QString& home) {
    return ReadIniSection("DEFAULTDEFCODE", home + "/GSETUP.ini");
}

void ApplyDefault(const RecordContext& r, const QString& entry) {
    const auto& rules = Rules();
    if (const auto rule = rules.constFind({r.table, entry}); rule != rules.cend())
        (*rule)(r, entry);
}

QList<SetupDefault> SetupDefaults(const QString& table, const QHash<QString, QString>& setupCodes) {
    QList<SetupDefault> defaults;
    for (const SetupCode& code : kSetupCodes)
        if (table == code.table)
            defaults.append({code.column, code.key, SetupValue(code, setupCodes)});
    return defaults;
}
