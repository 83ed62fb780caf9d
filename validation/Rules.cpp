#include "validation/Rules.h"

#include <QHash>

#include "base/Grid.h"
#include "mapping/Catalogue.h"

namespace {

QStringList Numbered(const QString& stem, int last) {
    QStringList names;
    for (int i = 1; i <= last; ++i) names << stem + QString::number(i);
    return names;
}

const QHash<QString, TableRules>& RuleTable() {
    static const QHash<QString, TableRules> table = [] {
        const QStringList classFill{"CLASSTYPECODE", "CLASSCODE", "CLASSNAME"};
        QHash<QString, TableRules> t;
        t[Table::kStockClass] = {{"CLASSCODE", "CLASSTYPECODE", ""}, classFill, {"APPCODE"}};
        t[Table::kStockItem] = {
            {"ITEMCODE", "", ""},
            {"ITEMCODE", "ITEMNAME"},
            QStringList{"ITEMCODE AS PLUCODE", "REFPOSCODE", "REFPRINTERGROUPCODE", "REFTAXCODE",
                        "REFCHARGECODE", "REFDISCOUNTCODE", "REFSEASONCODE", "POSDESCRIPTION"} +
                Numbered("POSDESCRIPTION", 10) + QStringList{"DATECREATED"}};
        t[Table::kBom] = {{"BOMGROUPCODE", "BOMITEMCODE", "ITEMCODE"}, {}, {}};
        // A vendor or customer sheet without its code would pass Verify and
        // fail in the middle of Start, so their code and name must be mapped.
        t[Table::kVendor] = {{"CREDITORCODE", "", ""}, {"CREDITORCODE", "CREDITORNAME"}, {}};
        t[Table::kCustomer] = {{"DEBTORCODE", "", ""}, {"DEBTORCODE", "DEBTORNAME"}, {}};
        t[Table::kItemGroup] = {{"ITEMGROUPCODE", "", ""}, {"ITEMGROUPCODE", "ITEMGROUPNAME"}, {}};
        t[Table::kMember] = {{"MEMBERCODE", "", ""}, {"MEMBERCODE", "MEMBERNAME"}, {"MEMBERNAME"}};
        t[Table::kClass] = {{"CLASSCODE", "CLASSTYPECODE", ""}, classFill, {}};
        t[Table::kItem] = {{"ITEMCODE", "", ""},
                           {"ITEMCODE", "ITEMNAME"},
                           QStringList{"ITEMCODE AS PLUCODE", "ITEMTYPE", "POSDESCRIPTION"} +
                               Numbered("POSDESCRIPTION", 3) +
                               QStringList{"BUTTONDESC", "DATECREATED", "REFCODE"}};
        t[Table::kPlu] = {{"PLUCODE", "", ""},
                          {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY"},
                          QStringList{"ITEMCODE", "POSDESCRIPTION"} +
                              Numbered("POSDESCRIPTION", 3) + QStringList{"BUTTONDESC", "UOMQTY"}};
        return t;
    }();
    return table;
}

// Shows each rule row, then hides it when a mapped column covers it.
// mapAlias turns a mapped column into the entry it covers.
template <class Alias>
void HideCovered(Grid& rules, const Grid& mapping, Alias mapAlias) {
    for (int i = 0; i < rules.Rows(); ++i) {
        rules.SetRowHeight(i, kShownRowHeight);
        const QString entry = ColumnKey(rules.CellText(i, 0));
        for (int j = 0; j < mapping.Rows(); ++j)
            if (entry == mapAlias(ColumnKey(mapping.CellText(j, 1)))) rules.SetRowHeight(i, 0);
    }
}

}  // namespace

TableRules RulesFor(const QString& tableName) { return RuleTable().value(tableName); }

QString HideCoveredMustFill(Grid& mustFill, const Grid& mapping) {
    HideCovered(mustFill, mapping, [](const QString& m) { return m; });
    QStringList shown;
    for (int i = 0; i < mustFill.Rows(); ++i)
        if (mustFill.RowHeight(i) != 0) shown << mustFill.CellText(i, 0);
    return shown.join(",");
}

DefaultFields HideCoveredMustDefault(Grid& mustDefault, const Grid& mapping) {
    HideCovered(mustDefault, mapping, [](const QString& m) {
        return m == "PLUCODE" ? QString("ITEMCODE AS PLUCODE") : m;
    });
    DefaultFields result;
    for (int i = 0; i < mustDefault.Rows(); ++i) {
        if (mustDefault.RowHeight(i) == 0) continue;
        result.list += "," + mustDefault.CellText(i, 0);
        ++result.count;
    }
    return result;
}
