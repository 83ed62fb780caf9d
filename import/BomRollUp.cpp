#include "import/BomRollUp.h"

#include "database/DbConnection.h"
#include "database/StagedRows.h"
#include "import/Companions.h"
#include "mapping/Catalogue.h"

namespace {

// The four cost statements, in order. SQL Server gets its own texts; the
// other engines get statements with the same effect in standard SQL.
QStringList CostStatements(Engine engine) {
    const QString lineKey = "Where BOMGROUPCODE=? And ITEMCODE=? And BOMITEMCODE=?";
    const QString headerKey = "Where BOMGROUPCODE=? And ITEMCODE=?";
    if (engine == Engine::SqlServer)
        return {
            "Update INVT_MT_BOM Set LASTUPDATE=?, SERVEUNITCOST=IsNull(B.PORTIONUNITPRICE,0) "
            "From INVT_MT_BOM As A Left Outer Join (Select ITEMCODE, PORTIONUNITPRICE From "
            "INVT_MT_ITEM Where ITEMCODE=?) As B On A.BOMITEMCODE=B.ITEMCODE Where "
            "A.BOMGROUPCODE=? And A.ITEMCODE=? And A.BOMITEMCODE=?",
            "Update INVT_MT_BOM Set SERVETOTALCOST=SERVEUNITCOST*SERVEQTY " + lineKey,
            "Update INVT_MT_BOMMASTER Set ACTUALTOTALBOMCOST=IsNull(B.TOTALSERVECOST,0) From "
            "INVT_MT_BOMMASTER As A Left Outer Join (Select BOMGROUPCODE, ITEMCODE, "
            "Sum(SERVETOTALCOST) As TOTALSERVECOST From INVT_MT_BOM Where BOMGROUPCODE=? And "
            "ITEMCODE=? Group By BOMGROUPCODE, ITEMCODE) As B On A.BOMGROUPCODE=B.BOMGROUPCODE "
            "And A.ITEMCODE=B.ITEMCODE Where A.BOMGROUPCODE=? And A.ITEMCODE=?",
            "Update INVT_MT_BOMMASTER Set TOTALBOMCOST=ACTUALTOTALBOMCOST " + headerKey};
    return {
        "Update INVT_MT_BOM Set LASTUPDATE=?, SERVEUNITCOST=Coalesce((Select PORTIONUNITPRICE "
        "From INVT_MT_ITEM Where ITEMCODE=?),0) " +
            lineKey,
        "Update INVT_MT_BOM Set SERVETOTALCOST=SERVEUNITCOST*SERVEQTY " + lineKey,
        "Update INVT_MT_BOMMASTER Set ACTUALTOTALBOMCOST=Coalesce((Select Sum(SERVETOTALCOST) "
        "From INVT_MT_BOM Where BOMGROUPCODE=? And ITEMCODE=?),0) " +
            headerKey,
        "Update INVT_MT_BOMMASTER Set TOTALBOMCOST=ACTUALTOTALBOMCOST " + headerKey};
}

}  // namespace

void ApplyBomLineRule(const RecordContext& r, int field) {
    const QVariant group = r.Code("BOMGROUPCODE");
    const QVariant item = r.Code("ITEMCODE");
    CreateWhenMissing(r, Table::kBomMaster, {{"BOMGROUPCODE", group}, {"ITEMCODE", item}},
                      {{"BOMGROUPCODE", group}, {"ITEMCODE", item}, {"LASTUPDATE", r.today}});
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

void RollUpBomCosts(DbConnection& db, const StagedRows& lines, const QDate& today) {
    // The lines the sheet wrote, and the headers it wrote lines of.
    const QString onSheet =
        " Where " + lines.Holds("INVT_MT_BOM", {"BOMGROUPCODE", "ITEMCODE", "BOMITEMCODE"});
    const QString touched =
        " Where " + lines.Holds("INVT_MT_BOMMASTER", {"BOMGROUPCODE", "ITEMCODE"});
    db.Execute(
        "Update INVT_MT_BOM Set LASTUPDATE=?, SERVEUNITCOST=Coalesce((Select PORTIONUNITPRICE "
        "From INVT_MT_ITEM Where ITEMCODE=INVT_MT_BOM.BOMITEMCODE),0)" +
            onSheet,
        {today});
    db.Execute("Update INVT_MT_BOM Set SERVETOTALCOST=SERVEUNITCOST*SERVEQTY" + onSheet);
    db.Execute(
        "Update INVT_MT_BOMMASTER Set ACTUALTOTALBOMCOST=Coalesce((Select Sum(SERVETOTALCOST) "
        "From INVT_MT_BOM Where BOMGROUPCODE=INVT_MT_BOMMASTER.BOMGROUPCODE And "
        "ITEMCODE=INVT_MT_BOMMASTER.ITEMCODE),0)" +
        touched);
    db.Execute("Update INVT_MT_BOMMASTER Set TOTALBOMCOST=ACTUALTOTALBOMCOST" + touched);
}
