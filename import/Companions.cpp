#include "Companions.h"

#include <initializer_list>
#include <utility>

#include "DbConnection.h"
#include "TextUtil.h"
#include "ValueText.h"

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

std::unique_ptr<Recordset> Lookup(DbConnection& db, const QString& table,
                                  QList<QPair<QString, QVariant>> where) {
    return db.OpenTable({table, {}, std::move(where)});
}

// Adds a record when the lookup found none; an existing one is left alone.
void CreateWhenMissing(Recordset& lookup, const Values& values) {
    if (!lookup.Eof()) return;
    lookup.AddNew();
    for (const auto& [field, value] : values) lookup.SetValue(field, value);
    lookup.Update();
}

void CopyFields(const Recordset& from, Recordset& to, std::initializer_list<const char*> fields) {
    for (const char* f : fields) to.SetValue(f, from.Value(f));
    to.Update();
}

QList<QPair<QString, QVariant>> BasePluOf(const QVariant& itemCode) {
    return {{"ItemCode", itemCode}, {"UOMQty", 1}};
}

enum class Towards { Item, BasePlu };

// Copies fields between the stored item of the sheet record's item code and
// its stored base-unit PLU; nothing happens when either is missing.
void CopyItemAndBasePlu(const RecordContext& r, Towards towards,
                        std::initializer_list<const char*> fields) {
    const auto item = Lookup(r.db, "Mt_Item", {{"ItemCode", r.V("ITEMCODE")}});
    if (item->Eof()) return;
    const auto plu = Lookup(r.db, "Mt_Plu", BasePluOf(r.V("ITEMCODE")));
    if (plu->Eof()) return;
    if (towards == Towards::Item)
        CopyFields(*plu, *item, fields);
    else
        CopyFields(*item, *plu, fields);
}

void CopyBasePluToItem(const RecordContext& r) {
    CopyItemAndBasePlu(
        r, Towards::Item,
        {"PosDescription", "ButtonDesc", "UOM", "UnitPrice", "UnitCost", "UnitPriceRCP"});
}

}  // namespace

void ApplyPluRule(const RecordContext& r, int field) {
    if (r.table == "INVT_MT_ITEM") {
        const auto plu = Lookup(r.db, "Invt_mt_Plu", {{"PluCode", r.V("PLUCODE")}});
        CreateWhenMissing(*plu, {{"ItemCode", r.V("ITEMCODE")}, {"PluCode", r.V("PLUCODE")}});
    } else if (r.table == "MT_ITEM") {
        const QVariant desc = r.V("POSDESCRIPTION");
        const auto plu = Lookup(r.db, "Mt_Plu", {{"PluCode", r.V("PLUCODE")}});
        CreateWhenMissing(
            *plu,
            Values{{"ItemCode", r.V("ITEMCODE")}, {"PluCode", r.V("PLUCODE")}, {"UOMQty", 1}} +
                Descriptions(desc, Left(desc, 20)));
    } else if (r.table == "MT_PLU") {
        r.target.SetValue(field, r.V("PLUCODE"));
        const QVariant desc = r.V("POSDESCRIPTION");
        const auto item = Lookup(r.db, "Mt_Item", {{"ItemCode", r.V("ITEMCODE")}});
        CreateWhenMissing(*item, Values{{"ItemCode", r.V("ITEMCODE")},
                                        {"ItemName", desc},
                                        {"ItemType", "I"},
                                        {"RefCode", "DEF"},
                                        {"DateCreated", r.today}} +
                                     Descriptions(desc, Left(desc, 20)));
        if (Val(ValueText(r.V("UOMQTY"))) == 1) CopyBasePluToItem(r);
    } else {
        // No companion for other tables: the code is kept like any other value.
        r.target.SetValue(field, r.V("PLUCODE"));
    }
}

void CreatePluOfItemCode(const RecordContext& r) {
    const QVariant code = r.V("ITEMCODE");
    if (r.table == "INVT_MT_ITEM") {
        const auto plu = Lookup(r.db, "Invt_mt_Plu", {{"PluCode", code}});
        CreateWhenMissing(*plu, {{"ItemCode", code}, {"PluCode", code}});
    } else if (r.table == "MT_ITEM") {
        const QVariant name = r.V("ITEMNAME");
        const QVariant desc = Left(name, 40);
        const auto plu = Lookup(r.db, "Mt_Plu", {{"PluCode", code}});
        CreateWhenMissing(*plu, Values{{"ItemCode", code}, {"PluCode", code}, {"UOMQty", 1}} +
                                    Descriptions(desc, Left(name, 20)));
    }
}

void CreateItemOfPlu(const RecordContext& r) {
    // Reached only when the PLU sheet maps no ITEMCODE; the item looked up
    // by the PLU code is then created under that code, so a second run finds it.
    const QVariant code = r.V("PLUCODE");
    const QVariant desc = r.V("POSDESCRIPTION");
    const auto item = Lookup(r.db, "Mt_Item", {{"ItemCode", code}});
    CreateWhenMissing(
        *item,
        Values{{"ItemCode", code}, {"PluCode", code}, {"ItemType", "I"}, {"DateCreated", r.today}} +
            Descriptions(desc, Left(desc, 20)));
}

void CopyItemToBasePlu(const RecordContext& r) {
    CopyItemAndBasePlu(r, Towards::BasePlu,
                       {"PosDescription", "PosDescription1", "PosDescription2", "PosDescription3",
                        "ButtonDesc", "UOM", "UnitPrice", "UnitCost", "UnitPriceRCP"});
}
