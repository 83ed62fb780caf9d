#include "import/BomRollUp.h"

#include <functional>
#include <utility>

#include "database/DbConnection.h"
#include "database/StagedRows.h"
#include "import/Companions.h"
#include "mapping/Catalogue.h"

namespace {

// The cost steps, in order, each restricted to the lines or the headers
// written. Each reads what the one before stored, so that a total is made
// of the values as their columns keep them (rounded to their scale), as one
// line at a time leaves them.
struct CostStep {
    const char* head;
    bool onLines;  // else on the headers
    bool dated;    // takes today as its first value
};
constexpr CostStep kCostSteps[] = {
    {"Update INVT_MT_BOM Set LASTUPDATE=?, SERVEUNITCOST=Coalesce((Select PORTIONUNITPRICE From "
     "INVT_MT_ITEM Where ITEMCODE=INVT_MT_BOM.BOMITEMCODE),0) Where ",
     true, true},
    {"Update INVT_MT_BOM Set SERVETOTALCOST=SERVEUNITCOST*SERVEQTY Where ", true, false},
    {"Update INVT_MT_BOMMASTER Set ACTUALTOTALBOMCOST=Coalesce((Select Sum(SERVETOTALCOST) From "
     "INVT_MT_BOM Where BOMGROUPCODE=INVT_MT_BOMMASTER.BOMGROUPCODE And "
     "ITEMCODE=INVT_MT_BOMMASTER.ITEMCODE),0) Where ",
     false, false},
    {"Update INVT_MT_BOMMASTER Set TOTALBOMCOST=ACTUALTOTALBOMCOST Where ", false, false},
};

// Runs the steps; where answers a step's restriction and its values.
void RunCostSteps(DbConnection& db, const QDate& today,
                  const std::function<std::pair<QString, QVariantList>(bool onLines)>& where) {
    for (const CostStep& step : kCostSteps) {
        auto [restriction, values] = where(step.onLines);
        if (step.dated) values.prepend(today);
        db.Execute(step.head + restriction, values);
    }
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
    RunCostSteps(r.db, r.today, [&](bool onLines) -> std::pair<QString, QVariantList> {
        if (onLines)
            return {"BOMGROUPCODE=? And ITEMCODE=? And BOMITEMCODE=?", {group, item, component}};
        return {"BOMGROUPCODE=? And ITEMCODE=?", {group, item}};
    });
}

void RollUpBomCosts(DbConnection& db, const StagedRows& lines, const QDate& today) {
    // The lines the sheet wrote, and the headers it wrote lines of.
    RunCostSteps(db, today, [&](bool onLines) -> std::pair<QString, QVariantList> {
        if (onLines)
            return {lines.Holds("INVT_MT_BOM", {"BOMGROUPCODE", "ITEMCODE", "BOMITEMCODE"}), {}};
        return {lines.Holds("INVT_MT_BOMMASTER", {"BOMGROUPCODE", "ITEMCODE"}), {}};
    });
}
