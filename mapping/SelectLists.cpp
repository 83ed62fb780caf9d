#include "mapping/SelectLists.h"

#include <QStringList>

#include "base/Grid.h"
#include "base/TextUtil.h"

namespace {
const QString kBom = "INVT_MT_BOM";

QString BomFilter(const QString& inner, const QString& sheet) {
    return "Select * From (Select " + inner + " From [" + sheet + "$]) As [" + sheet + "$] " +
           "Where [TILL-TYPE]='D'";
}
}  // namespace

SelectLists BuildSelectLists(const Grid& mapping, const QString& table) {
    QStringList bom, sheet, target;
    const bool itemTable = table == "INVT_MT_ITEM" || table == "MT_ITEM";
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString e = mapping.CellText(i, 0);
        const QString f = mapping.CellText(i, 1);
        if (e.isEmpty() || f.isEmpty()) continue;
        const QString element = "[" + e + "] As [TILL-" + f + "]";
        bom << element;
        if (table == kBom && ColumnKey(f) == "TYPE") continue;
        sheet << element;
        target << (itemTable && ColumnKey(f) == "PLUCODE" ? "ITEMCODE As " + f : f);
    }
    return {bom.join(","), sheet.join(","), target.join(",")};
}

QString SheetColumnList(const Grid& mapping) {
    QStringList columns;
    for (int i = 0; i < mapping.Rows(); ++i) columns << "[" + mapping.CellText(i, 0) + "]";
    return columns.join(",");
}

QString VerifyQuery(const QString& table, const QString& sheet, const SelectLists& lists,
                    const QString& sheetColumnList) {
    const QString inner = lists.sheetBom + "," + sheetColumnList;
    if (table == kBom) return BomFilter(inner, sheet);
    return "Select " + inner + " From [" + sheet + "$]";
}

QString InsertQuery(const QString& table, const QString& sheet, const SelectLists& lists) {
    if (table == kBom) return BomFilter(lists.sheetBom, sheet);
    return "Select " + lists.sheet + " From [" + sheet + "$]";
}

QString UsedFieldList(const Grid& mapping) {
    QStringList used;
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString f = mapping.CellText(i, 1);
        if (!f.isEmpty()) used << "'" + f + "'";
    }
    return used.join(",");
}

QString PairedTable(const QString& table) {
    if (table == "INVT_MT_ITEM") return "INVT_MT_PLU";
    if (table == "MT_ITEM") return "MT_PLU";
    if (table == kBom) return "INVT_MT_BOMMASTER";
    return {};
}
