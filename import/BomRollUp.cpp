#include "import/BomRollUp.h"

#include "database/DbConnection.h"
#include "database/StagedRows.h"
#include "import/Companions.h"
#include "mapping/Catalogue.h"

namespace {

// The component's portion price, 0 where it has none, for a line of the
// statement's.
const QString kPortionPrice =
    "Coalesce((Select PORTIONUNITPRICE From INVT_MT_ITEM Where "
    "ITEMCODE=INVT_MT_BOM.BOMITEMCODE),0)";

// A line's unit and total cost from its component's portion price, in one
// statement: a record's lines go one at a time, a set's all at once.
const QString kLineCosts = "Update INVT_MT_BOM Set LASTUPDATE=?, SERVEUNITCOST=" + kPortionPrice +
                           ", SERVETOTALCOST=" + kPortionPrice + "*SERVEQTY Where ";

// A header's totals from all its stored lines.
const QString kLinesTotal =
    "Coalesce((Select Sum(SERVETOTALCOST) From INVT_MT_BOM Where "
    "BOMGROUPCODE=INVT_MT_BOMMASTER.BOMGROUPCODE And ITEMCODE=INVT_MT_BOMMASTER.ITEMCODE),0)";
const QString kHeaderTotals = "Update INVT_MT_BOMMASTER Set ACTUALTOTALBOMCOST=" + kLinesTotal +
                              ", TOTALBOMCOST=" + kLinesTotal + " Where ";

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
    r.db.Execute(kLineCosts + "BOMGROUPCODE=? And ITEMCODE=? And BOMITEMCODE=?",
                 {r.today, group, item, r.Code("BOMITEMCODE")});
    r.db.Execute(kHeaderTotals + "BOMGROUPCODE=? And ITEMCODE=?", {group, item});
}

void RollUpBomCosts(DbConnection& db, const StagedRows& lines, const QDate& today) {
    // The lines the sheet wrote, and the headers it wrote lines of.
    db.Execute(kLineCosts + lines.Holds("INVT_MT_BOM", {"BOMGROUPCODE", "ITEMCODE", "BOMITEMCODE"}),
               {today});
    db.Execute(kHeaderTotals + lines.Holds("INVT_MT_BOMMASTER", {"BOMGROUPCODE", "ITEMCODE"}));
}
