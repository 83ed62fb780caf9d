// What the operator does by hand, as calls: the command line, the bench and
// the tests set up a job through these, so that all three do it alike.
#include "form/Minsert.h"

void Minsert::ChooseWorkbook(const QString& path) {
    TxtField[kWorkbookPath].text = path;
    TxtField_Validate(kWorkbookPath);
}

bool Minsert::ChooseSheet(const QString& name) {
    ListControl& sheets = LCombo[kSheetList];
    sheets.listIndex = sheets.items.indexOf(name);
    if (sheets.listIndex < 0) return false;
    LCombo_Click(kSheetList);
    return true;
}

bool Minsert::ChooseTable(const QString& nameOrLabel) {
    int i = List1[kTableNames].items.indexOf(nameOrLabel);
    if (i < 0) i = LCombo[kTableList].items.indexOf(nameOrLabel);
    if (i < 0) return false;
    LCombo[kTableList].listIndex = i;
    LCombo_Click(kTableList);
    return true;
}

bool Minsert::MapColumn(const QString& excelField, const QString& tillField) {
    Grid& mapping = *SC[kMappingGrid];
    for (int r = 0; r < mapping.Rows(); ++r) {
        if (mapping.CellText(r, 0) != excelField) continue;
        mapping.SetCellText(r, 1, tillField);
        SC_AfterEdit(kMappingGrid);
        return true;
    }
    return false;
}

bool Minsert::PickCompany(const QString& code) {
    Grid& companies = *SC[kCompanyList];
    for (int r = 0; r < companies.Rows(); ++r) {
        if (companies.CellText(r, 0) != code) continue;
        companies.SetRow(r);
        SC_DblClick(kCompanyList);
        return true;
    }
    return false;
}
