#include "import/BomRollUp.h"

#include "database/DbConnection.h"

namespace {

// The four cost statements, in order. SQL Server gets its own texts; the
// other engines get statements with the same effect in standard SQL.
QStringList CostStatements(Engine engine) {
    const QString lineKey = "Where BomGroupCode=? And ItemCode=? And BomItemCode=?";
    const QString headerKey = "Where BomGroupCode=? And ItemCode=?";
    if (engine == Engine::SqlServer)
        return {
            "Update Invt_mt_Bom Set LastUpdate=?, ServeUnitCost=IsNull(B.PortionUnitPrice,0) "
            "From Invt_mt_Bom As A Left Outer Join (Select ItemCode, PortionUnitPrice From "
            "Invt_mt_Item Where ItemCode=?) As B On A.BomItemCode=B.ItemCode Where "
            "A.BomGroupCode=? And A.ItemCode=? And A.BomItemCode=?",
            "Update Invt_mt_Bom Set ServeTotalCost=ServeUnitCost*ServeQty " + lineKey,
            "Update Invt_mt_BomMaster Set ActualTotalBomCost=IsNull(B.TotalServeCost,0) From "
            "Invt_mt_BomMaster As A Left Outer Join (Select BomGroupCode, ItemCode, "
            "Sum(ServeTotalCost) As TotalServeCost From Invt_mt_Bom Where BomGroupCode=? And "
            "ItemCode=? Group By BomGroupCode, ItemCode) As B On A.BomGroupCode=B.BomGroupCode "
            "And A.ItemCode=B.ItemCode Where A.BomGroupCode=? And A.ItemCode=?",
            "Update Invt_mt_BomMaster Set TotalBomCost=ActualTotalBomCost " + headerKey};
    return {
        "Update Invt_mt_Bom Set LastUpdate=?, ServeUnitCost=Coalesce((Select PortionUnitPrice "
        "From Invt_mt_Item Where ItemCode=?),0) " +
            lineKey,
        "Update Invt_mt_Bom Set ServeTotalCost=ServeUnitCost*ServeQty " + lineKey,
        "Update Invt_mt_BomMaster Set ActualTotalBomCost=Coalesce((Select Sum(ServeTotalCost) "
        "From Invt_mt_Bom Where BomGroupCode=? And ItemCode=?),0) " +
            headerKey,
        "Update Invt_mt_BomMaster Set TotalBomCost=ActualTotalBomCost " + headerKey};
}

}  // namespace

void ApplyBomLineRule(const RecordContext& r, int field) {
    const QVariant group = r.Code("BOMGROUPCODE");
    const QVariant item = r.Code("ITEMCODE");
    const auto header =
        r.db.OpenTable({"Invt_mt_BomMaster", {}, {{"BomGroupCode", group}, {"ItemCode", item}}});
    if (header->Eof()) {
        header->AddNew();
        header->SetValue("BomGroupCode", group);
        header->SetValue("ItemCode", item);
        header->SetValue("LastUpdate", r.today);
        header->Update();
    }
    r.target.SetValue(field, r.Code("BOMITEMCODE"));
}

void RollUpBomCosts(const RecordContext& r) {
    const QVariant group = r.Code("BOMGROUPCODE");
    const QVariant item = r.Code("ITEMCODE");
    const QVariant component = r.Code("BOMITEMCODE");
    const QStringList sql = CostStatements(r.db.SqlDialect().Kind());
    r.db.Execute(sql[0], {r.today, component, group, item, component});
    r.db.Execute(sql[1], {group, item, component});
    r.db.Execute(sql[2], {group, item, group, item});
    r.db.Execute(sql[3], {group, item});
}
