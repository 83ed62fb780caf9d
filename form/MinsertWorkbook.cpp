// Choosing the workbook and its sheet, and the grids View_Data fills.
#include <QFileInfo>

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
        if (index == 5) {
            if (!TxtField[5].text.isEmpty()) MatchExcelName();
            return;
        }
        if (index != 4) return;
        DisableStartUntilVerify();
        for (int g : {1, 2}) {
            SC[g]->SetCols(0);
            SC[g]->SetRows(0);
        }
        for (int t : {7, 8, 9}) TxtField[t].text.clear();
        if (TxtField[4].text.isEmpty()) return;
        const QString path = TxtField[4].text;
        const QString name = path.mid(std::max(path.lastIndexOf('/'), path.lastIndexOf('\\')) + 1);
        if (name.size() < 4)
            throw AppError(ErrorNumber::InvalidArgument,
                           "Invalid procedure call or argument: the file name \"" + name +
                               "\" is too short to be a workbook");
        TxtField[6].text = name.left(name.size() - 4);
        GetExcelSheet();
    });
}

void Minsert::GetExcelSheet() {
    Handle(
        "GetExcelSheet",
        [&] {
            LCombo[0].Clear();
            LCombo[0].items = SheetNames(TxtField[4].text);
        },
        [&] { op_.SetFocus("TxtField(4)"); });
}

void Minsert::ConnectExcelDSN() {
    Handle("ConnectExcelDSN", [&] {
        ExcelConnectString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + TxtField[4].text +
                             ";Extended Properties=\"Excel 8.0;HDR=YES;IMEX=1\"";
        // The previous workbook is released before the new one opens.
        ExcelConnection.reset();
        ExcelConnection = SheetConnection::OpenWorkbook(TxtField[4].text);
    });
}

void Minsert::View_Data(int index) {
    Handle("View_Data", [&] {
        if (index == 0) {
            SC[0]->SetCols(0);
            SC[0]->SetRows(0);
            SqlText = "Select CompanyCode As [Code], CompanyName As [Name] From CompanyFile";
            if (!CompanyConnection)
                throw AppError(ErrorNumber::ConnectionClosed, "The company directory is not open.");
            LoadRecordset(*SC[0], *CompanyConnection->List());
            LoadHeader(0);
        } else if (index == 1) {
            Grid& mapping = *SC[1];
            mapping.SetCols(0);
            mapping.SetRows(0);
            SqlText = "Select * From [" + LCombo[0].Text() + "$]";
            if (!ExcelConnection)
                throw AppError(ErrorNumber::ConnectionClosed, "The workbook is not open.");
            const auto rs = ExcelConnection->Open(SqlText);
            mapping.SetCols(3);
            mapping.SetRows(rs->FieldCount());
            for (int i = 0; i < rs->FieldCount(); ++i) {
                mapping.SetCellText(i, 0, rs->FieldAt(i).name);
                mapping.SetCellText(i, 2, QString::number(rs->FieldAt(i).type));
            }
            LoadHeader(1);
        }
    });
}
