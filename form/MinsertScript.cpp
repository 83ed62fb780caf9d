// What the operator does by hand, as calls: the command line, the bench and
// the tests set up a job through these, so that all three do it alike.
#include "form/Minsert.h"
#include "mapping/MappingCheck.h"

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

QString Minsert::MapColumn(const QString& excelField, const QString& tillField) {
    Grid& mapping = *SC[kMappingGrid];
    const QString excel = excelField.trimmed();
    int row = 0;
    while (row < mapping.Rows() && mapping.CellText(row, 0).trimmed() != excel) ++row;
    if (row == mapping.Rows())
        return "sheet " + LCombo[kSheetList].Text() + " has no Excel field " + excel + " !!!";
    const QStringList fields = TillFields(TABLENAME.text);
    const QString before = mapping.CellText(row, 1);
    mapping.SetCellText(row, 1, TillFieldSpelling(tillField, fields));
    if (const QString problem = MappedRowProblem(mapping, row, TABLENAME.text, fields);
        !problem.isEmpty()) {
        mapping.SetCellText(row, 1, before);
        return problem;
    }
    SC_AfterEdit(kMappingGrid);
    return {};
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
