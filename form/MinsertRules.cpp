// The table rules as the window holds them: key fields, must-fill and
// must-default lists in the hidden grids.
#include "form/Minsert.h"
#include "validation/Rules.h"

namespace {
void FillRuleGrid(Grid& grid, int cols, const QStringList& entries) {
    grid.SetRows(0);
    grid.SetCols(cols);
    for (const QString& entry : entries) {
        grid.InsertRows(grid.Rows(), 1);
        grid.SetCellText(grid.Rows() - 1, 0, entry);
    }
}
}  // namespace

void Minsert::LoadMustDoList() {
    Handle("LoadMustDoList", [&] {
        for (TextBox& key : PRIMARYFIELD) key.text.clear();
        const TableRules rules = RulesFor(TABLENAME.text);
        for (int i = 0; i < 3; ++i) PRIMARYFIELD[i].text = rules.keyFields[i];
        FillRuleGrid(*SC[kMustFillList], 1, rules.mustFill);
        FillRuleGrid(*SC[kMustDefaultList], 2, rules.mustDefault);
    });
}

void Minsert::HideDuplicateMustFillField() {
    Handle("HideDuplicateMustFillField", [&] {
        BlankFillFields.clear();
        BlankFillFields = HideCoveredMustFill(*SC[kMustFillList], *SC[kMappingGrid]);
    });
}

void Minsert::HideDuplicateMustDefaultField() {
    Handle("HideDuplicateMustDefaultField", [&] {
        DefaultFieldList.clear();
        const DefaultFields defaults =
            HideCoveredMustDefault(*SC[kMustDefaultList], *SC[kMappingGrid]);
        DefaultFieldList = defaults.list;
        DefaultFieldCount = defaults.count;
    });
}
