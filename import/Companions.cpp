#include "import/Companions.h"

#include <utility>

#include "base/TextUtil.h"
#include "base/ValueText.h"
#include "database/DbConnection.h"
#include "mapping/Catalogue.h"

namespace {

using Values = QList<QPair<QString, QVariant>>;

// The description fields of an item or a PLU, filled alike.
Values Descriptions(const QVariant& desc, const QVariant& button) {
    return {{"PosDescription", desc},
            {"PosDescription1", desc},
            {"PosDescription2", desc},
            {"PosDescription3", desc},
            {"ButtonDesc", button}};
}

// Adds a record with the values when none meets the criteria; an existing
// one is left alone. Only the columns written are read.
void CreateWhenMissing(DbConnection& db, const QString& table, Criteria where,
                       const Values& values) {
    QStringList columns;
    for (const auto& [field, value] : values) columns << field;
    const auto lookup = db.OpenTable({table, columns, std::move(where)});
    if (!lookup->Eof()) return;
    lookup->AddNew();
    for (const auto& [field, value] : values) lookup->SetValue(field, value);
    lookup->Update();
}

Criteria BasePluOf(const QVariant& itemCode) { return {{"ItemCode", itemCode}, {"UOMQty", 1}}; }

// The stored item of the sheet record's item code takes these fields from
// its stored base-unit PLU; nothing happens when either is missing.
void CopyBasePluToItem(const RecordContext& r) {
    const QStringList fields{"PosDescription", "ButtonDesc", "UOM",
                             "UnitPrice",      "UnitCost",   "UnitPriceRCP"};
    const QVariant code = r.Code("ITEMCODE");
    const auto item =
        r.db.OpenTable({"Mt_Item", QStringList{"ItemCode"} + fields, {{"ItemCode", code}}});
    if (item->Eof()) return;
    const auto plu = r.db.OpenTable({"Mt_Plu", fields, BasePluOf(code)});
    if (plu->Eof()) return;
    for (const QString& f : fields) item->SetValue(f, plu->Value(f));
    item->Update();
}

}  // namespace

void ApplyPluRule(const RecordContext& r, int field) {
    if (r.table == Table::kStockItem) {
        CreateWhenMissing(r.db, "Invt_mt_Plu", {{"PluCode", r.Code("PLUCODE")}},
                          {{"ItemCode", r.Code("ITEMCODE")}, {"PluCode", r.Code("PLUCODE")}});
    } else if (r.table == Table::kItem) {
        const QVariant desc = r.V("POSDESCRIPTION");
        CreateWhenMissing(
            r.db, "Mt_Plu", {{"PluCode", r.Code("PLUCODE")}},
            Values{
                {"ItemCode", r.Code("ITEMCODE")}, {"PluCode", r.Code("PLUCODE")}, {"UOMQty", 1}} +
                Descriptions(desc, Left(desc, 20)));
    } else if (r.table == Table::kPlu) {
        r.target.SetValue(field, r.Code("PLUCODE"));
        const QVariant desc = r.V("POSDESCRIPTION");
        CreateWhenMissing(r.db, "Mt_Item", {{"ItemCode", r.Code("ITEMCODE")}},
                          Values{{"ItemCode", r.Code("ITEMCODE")},
                                 {"ItemName", desc},
                                 {"ItemType", "I"},
                                 {"RefCode", "DEF"},
                                 {"DateCreated", r.today}} +
                              Descriptions(desc, Left(desc, 20)));
        if (Val(ValueText(r.V("UOMQTY"))) == 1) CopyBasePluToItem(r);
    } else {
        // No companion for other tables: the code is kept like any other value.
        r.target.SetValue(field, r.Code("PLUCODE"));
    }
}

void CreatePluOfItemCode(const RecordContext& r) {
    const QVariant code = r.Code("ITEMCODE");
    if (r.table == Table::kStockItem) {
        CreateWhenMissing(r.db, "Invt_mt_Plu", {{"PluCode", code}},
                          {{"ItemCode", code}, {"PluCode", code}});
    } else if (r.table == Table::kItem) {
        const QVariant name = r.V("ITEMNAME");
        const QVariant desc = Left(name, 40);
        CreateWhenMissing(r.db, "Mt_Plu", {{"PluCode", code}},
                          Values{{"ItemCode", code}, {"PluCode", code}, {"UOMQty", 1}} +
                              Descriptions(desc, Left(name, 20)));
    }
}

void CreateItemOfPlu(const RecordContext& r) {
    // Reached only when the PLU sheet maps no ITEMCODE; the item looked up
    // by the PLU code is then created under that code, so a second run finds it.
    const QVariant code = r.Code("PLUCODE");
    const QVariant desc = r.V("POSDESCRIPTION");
    CreateWhenMissing(
        r.db, "Mt_Item", {{"ItemCode", code}},
        Values{{"ItemCode", code}, {"PluCode", code}, {"ItemType", "I"}, {"DateCreated", r.today}} +
            Descriptions(desc, Left(desc, 20)));
}

// One statement instead of reading the item back: on a server every
// statement is a round trip. Every base-unit PLU of the item is updated.
void CopyItemToBasePlu(const RecordContext& r) {
    static const QStringList kFields{"PosDescription",  "PosDescription1", "PosDescription2",
                                     "PosDescription3", "ButtonDesc",      "UOM",
                                     "UnitPrice",       "UnitCost",        "UnitPriceRCP"};
    const KeyedRecord item{"Mt_Item", "ItemCode", r.Code("ITEMCODE")};
    if (item.key.isNull()) return;  // no stored item has no code
    const Criteria where = BasePluOf(item.key);
    r.db.Execute(r.db.KeptText("copy item to base PLU",
                               [&](const Dialect& dialect) {
                                   return CopyColumnsSql(dialect, "Mt_Plu", where, item, kFields);
                               }),
                 CopyColumnsParams(r.db.SqlDialect(), where, item, kFields));
}
