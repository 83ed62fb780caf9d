// Commands whose work is not built yet. Each refuses with a clear error
// rather than pretending to work; they move out of here as they are built.
#include "../sources/Connection.h"
#include "Minsert.h"

namespace {
[[noreturn]] void NotBuilt(const char* what) {
    throw AppError(ErrorReporter::kUnexpectedNumber,
                   QString("%1 is not available in this version").arg(what));
}
}  // namespace

void Minsert::TxtField_Validate(int) { NotBuilt("Reading a workbook"); }
void Minsert::CSearch_Click(int) { NotBuilt("Browsing"); }
void Minsert::CSave_Click() { NotBuilt("Saving a match file"); }
void Minsert::SC_DblClick(int) { NotBuilt("The company directory"); }
void Minsert::LCombo_Click(int) { NotBuilt("Choosing a sheet or table"); }
void Minsert::SC_AfterEdit(int) {}
void Minsert::SC_BeforeEdit(int, int, int) {}
void Minsert::ConnectDSN() { NotBuilt("Connecting to a database"); }
void Minsert::ConnectCompDSN() { NotBuilt("The company directory"); }
void Minsert::View_Data(int) { NotBuilt("The company directory"); }
void Minsert::GetExcelSheet() { NotBuilt("Reading a workbook"); }
void Minsert::ConnectExcelDSN() { NotBuilt("Reading a workbook"); }
void Minsert::LoadFieldList(const QString&) { NotBuilt("Column discovery"); }
void Minsert::GetColumnList() { NotBuilt("Column discovery"); }
void Minsert::LoadHeader(int) {}
void Minsert::MatchExcelName() { NotBuilt("Match files"); }
void Minsert::LoadMustDoList() { NotBuilt("Table rules"); }
void Minsert::HideDuplicateMustFillField() { NotBuilt("Table rules"); }
void Minsert::HideDuplicateMustDefaultField() { NotBuilt("Table rules"); }
bool Minsert::VerifyData() { NotBuilt("Verify"); }
void Minsert::InsertData() { NotBuilt("Start"); }
