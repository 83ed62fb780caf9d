// Choosing the workbook and its sheet, and the grids View_Data fills.
#include <QFileInfo>

#include "base/SqlText.h"
#include "companies/CompanyDirectory.h"
#include "form/Minsert.h"
#include "workbook/SheetConnection.h"

namespace {
void LoadRecordset(Grid& grid, Recordset& rs) {
    grid.SetCols(rs.FieldCount());
    for (int c = 0; c < rs.FieldCount(); ++c) grid.SetCellText(-1, c, rs.FieldAt(c).name);
    grid.SetRows(rs.RecordCount());
    for (int r = 0; !rs.Eof(); rs.MoveNext(), ++r)
        for (int c = 0; c < rs.FieldCount(); ++c) grid.SetCellText(r, c, rs.Value(c).toString());
}
}  // namespace

void Minsert::TxtField_Validate(int index) {
    Handle("TxtField_Validate", [&] {
        if (index == kMatchName) {
            if (!TxtField[kMatchName].text.isEmpty()) MatchExcelName();
            return;
        }
        if (index != kWorkbookPath) return;
        DisableStartUntilVerify();
        ClearResults();
        SC[kMappingGrid]->SetCols(0);
        SC[kMappingGrid]->SetRows(0);
        if (TxtField[kWorkbookPath].text.isEmpty()) return;
        const QString path = TxtField[kWorkbookPath].text;
        const QString name = path.mid(std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1);
        // The verdict files are named after the workbook without its
        // extension, whatever its length: Stock.xls and Stock.xlsx alike.
        const qsizetype dot = name.lastIndexOf('.');
        const QString base = dot > 0 ? name.left(dot) : name;
        if (base.isEmpty())
            throw AppError(ErrorNumber::InvalidArgument,
                           "Invalid procedure call or argument: the file name \"" + name +
                               "\" is not a workbook's");
        TxtField[kWorkbookName].text = base;
        GetExcelSheet();
    });
}

void Minsert::GetExcelSheet() {
    Handle(
        "GetExcelSheet",
        [&] {
            LCombo[kSheetList].Clear();
            listedWorkbook_.reset();
            auto workbook = SheetConnection::OpenWorkbook(TxtField[kWorkbookPath].text);
            LCombo[kSheetList].items = workbook->SheetNames();
            listedWorkbook_ = std::move(workbook);
        },
        [&] { op_.SetFocus("TxtField(4)"); });
}

void Minsert::ConnectExcelDSN() {
    Handle("ConnectExcelDSN", [&] {
        // The previous workbook is released before the new one opens.
        ExcelConnection.reset();
        const QString& path = TxtField[kWorkbookPath].text;
        std::unique_ptr<SheetConnection> listed = std::move(listedWorkbook_);
        ExcelConnection = listed && listed->IsUnchangedFile(path)
                              ? std::move(listed)
                              : SheetConnection::OpenWorkbook(path);
    });
}

void Minsert::View_Data(int index) {
    Handle("View_Data", [&] {
        if (index == kCompanyList) {
            SC[kCompanyList]->SetCols(0);
            SC[kCompanyList]->SetRows(0);
            if (!CompanyConnection)
                throw AppError(ErrorNumber::ConnectionClosed, "The company directory is not open.");
            LoadRecordset(*SC[kCompanyList], *CompanyConnection->List());
            LoadHeader(kCompanyList);
        } else if (index == kMappingGrid) {
            Grid& mapping = *SC[kMappingGrid];
            mapping.SetCols(0);
            mapping.SetRows(0);
            if (!ExcelConnection)
                throw AppError(ErrorNumber::ConnectionClosed, "The workbook is not open.");
            // The columns and their types are all the grid shows: no row is read.
            const auto rs = ExcelConnection->Open(
                "Select * From " + BracketName(LCombo[kSheetList].Text() + "$") + " Where 1 = 0");
            mapping.SetCols(3);
            mapping.SetRows(rs->FieldCount());
            for (int i = 0; i < rs->FieldCount(); ++i) {
                mapping.SetCellText(i, 0, rs->FieldAt(i).name);
                mapping.SetCellText(i, 2, TypeWord(rs->FieldAt(i).type));
            }
            LoadHeader(kMappingGrid);
        }
    });
}
