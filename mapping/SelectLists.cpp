#include "mapping/SelectLists.h"

#include <QStringList>

#include "base/Grid.h"
#include "base/SqlText.h"
#include "base/TextUtil.h"
#include "mapping/Catalogue.h"

namespace {

QString SheetTable(const QString& sheet) { return BracketName(sheet + "$"); }

QString BomFilter(const QString& inner, const QString& sheet) {
    return "Select * From (Select " + inner + " From " + SheetTable(sheet) + ") As " +
           SheetTable(sheet) + " Where [TILL-TYPE]='D'";
}
}  // namespace

SelectLists BuildSelectLists(const Grid& mapping, const QString& table) {
    QStringList bom, sheet, target;
    const bool itemTable = table == Table::kStockItem || table == Table::kItem;
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString e = mapping.CellText(i, 0);
        const QString f = mapping.CellText(i, 1);
        if (e.isEmpty() || f.isEmpty()) continue;
        const QString element = BracketName(e) + " As " + BracketName("TILL-" + f);
        bom << element;
        if (table == Table::kBom && ColumnKey(f) == "TYPE") continue;
        sheet << element;
        target << (itemTable && ColumnKey(f) == "PLUCODE" ? "ITEMCODE As " + f : f);
    }
    return {bom.join(","), sheet.join(","), target.join(",")};
}

QString SheetColumnList(const Grid& mapping) {
    QStringList columns;
    for (int i = 0; i < mapping.Rows(); ++i) columns << BracketName(mapping.CellText(i, 0));
    return columns.join(",");
}

QString VerifyQuery(const QString& table, const QString& sheet, const SelectLists& lists,
                    const QString& sheetColumnList) {
    const QString inner = lists.sheetBom + "," + sheetColumnList;
    if (table == Table::kBom) return BomFilter(inner, sheet);
    return "Select " + inner + " From " + SheetTable(sheet);
}

QString InsertQuery(const QString& table, const QString& sheet, const SelectLists& lists) {
    if (table == Table::kBom) return BomFilter(lists.sheetBom, sheet);
    return "Select " + lists.sheet + " From " + SheetTable(sheet);
}

QString UsedFieldList(const Grid& mapping) {
    QStringList used;
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString f = mapping.CellText(i, 1);
        // No column's name holds a NUL, nor can SQLite's or PostgreSQL's
        // statement text: such a name leaves out nothing, so it is not listed.
        if (!f.isEmpty() && !f.contains(QChar(0))) used << SqlLiteral(f);
    }
    return used.join(",");
}

QString PairedTable(const QString& table) {
    if (table == Table::kStockItem) return Table::kStockPlu;
    if (table == Table::kItem) return Table::kPlu;
    if (table == Table::kBom) return Table::kBomMaster;
    return {};
}
