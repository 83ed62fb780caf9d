#include "import/Companions.h"

#include <utility>

#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "import/CompanionStage.h"
#include "mapping/Catalogue.h"

namespace {

// The description fields of an item or a PLU, filled alike.
// The column names are literals: a sheet of items builds these for every row.
Values Descriptions(const QVariant& desc, const QVariant& button) {
    return {{QStringLiteral("POSDESCRIPTION"), desc},
            {QStringLiteral("POSDESCRIPTION1"), desc},
            {QStringLiteral("POSDESCRIPTION2"), desc},
            {QStringLiteral("POSDESCRIPTION3"), desc},
            {QStringLiteral("BUTTONDESC"), button}};
}

Criteria BasePluOf(const QVariant& itemCode) { return {{"ITEMCODE", itemCode}, {"UOMQTY", 1}}; }

}  // namespace

void CreateWhenMissing(const RecordContext& r, const QString& table, Criteria where,
                       const Values& values) {
    if (r.companions) {
        r.companions->Add(table, where, values);
        return;
    }
    DbConnection& db = r.db;
    QStringList columns;
    for (const auto& [field, value] : values) columns << field;
    const auto lookup = db.OpenTable({table, columns, std::move(where)});
    if (!lookup->Eof()) return;
    lookup->AddNew();
    for (const auto& [field, value] : values) lookup->SetValue(field, value);
    lookup->Update();
}

void ApplyPluRule(const RecordContext& r, int field) {
    if (r.table == Table::kStockItem) {
        CreateWhenMissing(r, "INVT_MT_PLU", {{"PLUCODE", r.Code("PLUCODE")}},
                          {{"ITEMCODE", r.Code("ITEMCODE")}, {"PLUCODE", r.Code("PLUCODE")}});
    } else if (r.table == Table::kItem) {
        const QVariant desc = r.V(QStringLiteral("POSDESCRIPTION"));
        const QVariant plu = r.Code(QStringLiteral("PLUCODE"));
        Values values{{QStringLiteral("ITEMCODE"), r.Code(QStringLiteral("ITEMCODE"))},
                      {QStringLiteral("PLUCODE"), plu},
                      {QStringLiteral("UOMQTY"), 1}};
        values += Descriptions(desc, Left(desc, 20));
        CreateWhenMissing(r, QStringLiteral("MT_PLU"), {{QStringLiteral("PLUCODE"), plu}}, values);
    } else if (r.table == Table::kPlu) {
        r.target.SetValue(field, r.Code("PLUCODE"));
        const QVariant desc = r.V("POSDESCRIPTION");
        CreateWhenMissing(r, "MT_ITEM", {{"ITEMCODE", r.Code("ITEMCODE")}},
                          Values{{"ITEMCODE", r.Code("ITEMCODE")},
                                 {"ITEMNAME", desc},
                                 {"ITEMTYPE", "I"},
                                 {"REFCODE", "DEF"},
                                 {"DATECREATED", r.today}} +
                              Descriptions(desc, Left(desc, 20)));
    } else {
        // No companion for other tables: the code is kept like any other value.
        r.target.SetValue(field, r.Code("PLUCODE"));
    }
}

void CreatePluOfItemCode(const RecordContext& r) {
    const QVariant code = r.Code("ITEMCODE");
    if (r.table == Table::kStockItem) {
        CreateWhenMissing(r, "INVT_MT_PLU", {{"PLUCODE", code}},
                          {{"ITEMCODE", code}, {"PLUCODE", code}});
    } else if (r.table == Table::kItem) {
        const QVariant name = r.V("ITEMNAME");
        const QVariant desc = Left(name, 40);
        CreateWhenMissing(r, "MT_PLU", {{"PLUCODE", code}},
                          Values{{"ITEMCODE", code}, {"PLUCODE", code}, {"UOMQTY", 1}} +
                              Descriptions(desc, Left(name, 20)));
    }
}

void CreateItemOfPlu(const RecordContext& r) {
    // Reached only when the PLU sheet maps no ITEMCODE; the item looked up
    // by the PLU code is then created under that code, so a second run finds it.
    const QVariant code = r.Code("PLUCODE");
    const QVariant desc = r.V("POSDESCRIPTION");
    CreateWhenMissing(
        r, "MT_ITEM", {{"ITEMCODE", code}},
        Values{{"ITEMCODE", code}, {"PLUCODE", code}, {"ITEMTYPE", "I"}, {"DATECREATED", r.today}} +
            Descriptions(desc, Left(desc, 20)));
}

const QStringList& ItemToPluFields() {
    static const QStringList fields{"POSDESCRIPTION",  "POSDESCRIPTION1", "POSDESCRIPTION2",
                                    "POSDESCRIPTION3", "BUTTONDESC",      "UOM",
                                    "UNITPRICE",       "UNITCOST",        "UNITPRICERCP"};
    return fields;
}

// One statement instead of reading the item back: on a server every
// statement is a round trip. Every base-unit PLU of the item is updated.
void CopyItemToBasePlu(const RecordContext& r) {
    const KeyedRecord item{"MT_ITEM", "ITEMCODE", r.Code("ITEMCODE")};
    if (item.key.isNull()) return;  // no stored item has no code
    const Criteria where = BasePluOf(item.key);
    r.db.Execute(r.db.KeptText("copy item to base PLU",
                               [&](const Dialect& dialect) {
                                   return CopyColumnsSql(dialect, "MT_PLU", where, item,
                                                         ItemToPluFields());
                               }),
                 CopyColumnsParams(r.db.SqlDialect(), where, item, ItemToPluFields()));
}

// Read from the saved PLU, so that the item gets what this sheet record
// wrote, and the stored values of the columns it left alone.
void CopyBasePluToItem(const RecordContext& r) {
    static const QStringList fields{"POSDESCRIPTION", "BUTTONDESC", "UOM",
                                    "UNITPRICE",      "UNITCOST",   "UNITPRICERCP"};
    if (Val(ValueText(r.V("UOMQTY"))) != 1) return;
    const QVariant code = r.Code("ITEMCODE");
    if (code.isNull()) return;  // no stored item has no code
    const KeyedRecord plu{"MT_PLU", "PLUCODE", r.Code("PLUCODE")};
    const Criteria where{{"ITEMCODE", code}};
    r.db.Execute(r.db.KeptText("copy base PLU to item",
                               [&](const Dialect& dialect) {
                                   return CopyColumnsSql(dialect, "MT_ITEM", where, plu, fields);
                               }),
                 CopyColumnsParams(r.db.SqlDialect(), where, plu, fields));
}
