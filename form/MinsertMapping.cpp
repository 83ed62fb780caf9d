// Choosing the target table, the mapping grid and match files.
#include <QFileInfo>

#include "base/TextUtil.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"
#include "mapping/ColumnDiscovery.h"
#include "mapping/MappingCheck.h"
#include "mapping/MatchFile.h"
#include "mapping/MatchFit.h"
#include "mapping/SelectLists.h"

namespace {
void ClearTillFields(Grid& mapping) {
    for (int i = 0; i < mapping.Rows(); ++i) mapping.SetCellText(i, 1, "");
}
}  // namespace

void Minsert::LCombo_Click(int index) {
    Handle("LCombo_Click", [&] {
        DisableStartUntilVerify();
        ClearResults();
        if (index == kTableList) {
            List1[kTableNames].listIndex = LCombo[kTableList].listIndex;
            if (List1[kTableNames].listIndex < 0) {
                TABLENAME.text.clear();
                return;
            }
            TABLENAME.text = List1[kTableNames].Text();
            LoadMustDoList();
        } else if (index == kSheetList) {
            ConnectExcelDSN();
            View_Data(kMappingGrid);
            MatchExcelName();
        }
    });
}

void Minsert::LoadHeader(int index) {
    Handle("LoadHeader", [&] {
        // Only the three grids on show have a layout.
        if (index != kCompanyList && index != kMappingGrid && index != kResultGrid) return;
        Grid& grid = *SC[index];
        switch (index) {
            case kCompanyList:
                grid.SetColWidthPercent(-1, 5);
                grid.SetColWidthPercent(0, 35);
                grid.SetColWidthPercent(1, 60);
                break;
            case kMappingGrid:
                grid.SetCellText(-1, 0, "Excel Field");
                grid.SetCellText(-1, 1, "TILL Field");
                grid.SetCellText(-1, 2, "Excel Data Type");
                // The columns fit side by side: no scroll bar hides a name.
                grid.SetColWidthPercent(-1, 5);
                grid.SetColWidthPercent(0, 31);
                grid.SetColWidthPercent(1, 36);
                grid.SetColWidthPercent(2, 27);
                grid.SetColCellType(1, Grid::kDropDownList);
                break;
            case kResultGrid:
                grid.SetColWidth(-1, 35);
                for (int c = 0; c < grid.Cols(); ++c) grid.SetColWidth(c, 150);
                break;
            default:
                break;
        }
    });
}

void Minsert::SC_AfterEdit(int index) {
    Handle("SC_AfterEdit", [&] {
        if (index != kMappingGrid) return;
        UsedFieldList = ::UsedFieldList(*SC[kMappingGrid]);
        DisableStartUntilVerify();
    });
}

void Minsert::SC_BeforeEdit(int index, int row, int col) {
    Handle("SC_BeforeEdit", [&] {
        if (index != kMappingGrid || col != 1) return;
        LoadFieldList(ColumnListing::Unused);
        // The editor opens on the cell's own column, which the list leaves
        // out as used: leaving the editor without a choice keeps it.
        Grid& mapping = *SC[kMappingGrid];
        const QString current = mapping.CellText(row, 1);
        int at = mapping.ComboItems().indexOf(current);
        if (at < 0) {
            at = 1;
            mapping.ComboInsertItem(at, current);
        }
        mapping.SetListIndex(at);
    });
}

void Minsert::MatchExcelName() {
    Handle("MatchExcelName", [&] {
        Grid& mapping = *SC[kMappingGrid];
        const QString name = TxtField[kMatchName].text;
        MatchMisfit.clear();
        MatchNotApplied.clear();
        if (name.isEmpty()) {
            UsedFieldList.clear();
            ClearTillFields(mapping);
            DisableStartUntilVerify();
            return;
        }
        // A file is applied whole or not at all, and the operator is told
        // which file was not and why.
        const auto notApplied = [&](const QString& why, MsgIcon icon) {
            MatchNotApplied = why;
            op_.MsgBox(why, icon, "Message");
        };
        if (const QString problem = MatchNameProblem(name); !problem.isEmpty()) {
            notApplied(problem, MsgIcon::Critical);
            return;
        }
        // A name of no file yet may be one to save the mapping under: the
        // mapping made stays.
        const QString path = MatchFilePath(home_, name);
        if (!QFileInfo::exists(path)) {
            notApplied("Match file " + path + " does not exist: the mapping is left as it is.",
                       MsgIcon::Exclamation);
            return;
        }
        const MatchFile match = ReadMatchFile(path, mapping.Rows());
        const QString table = ColumnKey(match.tableName);
        const int tableAt = table.isEmpty() ? -1 : List1[kTableNames].items.indexOf(table);
        if (tableAt < 0) {
            notApplied("Match file " + path + " names the table \"" + match.tableName +
                           "\", which is not in the catalogue: the file was not applied !!!",
                       MsgIcon::Critical);
            return;
        }
        QStringList columns;
        for (int i = 0; i < mapping.Rows(); ++i) columns << mapping.CellText(i, 0);
        const MatchFit fit = FitMatchFile(match, columns);
        const QStringList tillFields = TillFields(table);
        Grid fitted(false);
        fitted.SetCols(2);
        fitted.SetRows(mapping.Rows());
        for (int i = 0; i < mapping.Rows(); ++i) {
            fitted.SetCellText(i, 0, columns[i]);
            fitted.SetCellText(i, 1, TillFieldSpelling(fit.fields[i], tillFields));
        }
        if (const QString problem = MappingProblem(fitted, table, tillFields); !problem.isEmpty()) {
            notApplied("Match file " + path + " was not applied: " + problem, MsgIcon::Critical);
            return;
        }
        DisableStartUntilVerify();
        TABLENAME.text = table;
        LCombo[kTableList].listIndex = tableAt;
        LCombo_Click(kTableList);
        for (int i = 0; i < mapping.Rows(); ++i) {
            mapping.SetCellType(i, 1, Grid::kDropDownList);
            mapping.SetCellText(i, 1, fitted.CellText(i, 1));
        }
        UsedFieldList = ::UsedFieldList(mapping);
        // Before a sheet is chosen there are no columns to fit.
        if (mapping.Rows() > 0 && !fit.Fits()) {
            MatchMisfit = MatchMisfitText(name, fit);
            op_.MsgBox(MatchMisfit, MsgIcon::Exclamation, "Message");
        }
    });
}

void Minsert::CSave_Click() {
    Handle("CSave_Click", [&] {
        const Grid& mapping = *SC[kMappingGrid];
        if (mapping.Rows() <= 0) {
            op_.MsgBox("Nothing to Save !!!", MsgIcon::Critical, "Message");
            op_.SetFocus("TxtField(4)");
            return;
        }
        if (LCombo[kTableList].listIndex < 0) {
            op_.MsgBox("Invalid Match Table !!!", MsgIcon::Critical, "Message");
            op_.SetFocus("LCombo(1)");
            return;
        }
        if (TxtField[kMatchName].text.isEmpty()) {
            TxtField[kMatchName].text =
                op_.InputBox("Please Key in a Match File Name to Save.", "Save File As", "")
                    .value_or(QString());
            if (TxtField[kMatchName].text.isEmpty()) {
                op_.MsgBox("Save Cancel.", MsgIcon::Exclamation, "Message");
                return;
            }
        }
        if (const QString problem = MatchNameProblem(TxtField[kMatchName].text);
            !problem.isEmpty()) {
            op_.MsgBox(problem, MsgIcon::Critical, "Message");
            return;
        }
        const QString path = MatchFilePath(home_, TxtField[kMatchName].text);
        if (QFileInfo::exists(path) &&
            !op_.AskYesNo("Confirm to Replace the Match File " + TxtField[kMatchName].text + " ?",
                          "Question")) {
            op_.MsgBox("Save Cancel.", MsgIcon::Exclamation, "Message");
            return;
        }
        MatchFile match{TABLENAME.text, {}, {}};
        for (int i = 0; i < mapping.Rows(); ++i) {
            match.fields << mapping.CellText(i, 1);
            match.names << mapping.CellText(i, 0);
        }
        if (!SaveMatchFile(path, match))
            throw AppError(ErrorNumber::FileAccess, "Path/File access error: the match file " +
                                                        path + " could not be written.");
        op_.MsgBox("Save Completed.", MsgIcon::Exclamation, "Message");
    });
}

void Minsert::CSearch_Click(int index) {
    Handle("CSearch_Click", [&] {
        const QString folder = home_ + "/EXCEL";
        if (index == kBrowseWorkbook) {
            const QString path =
                op_.OpenFile("Open Workbook (.xls, .xlsx)", folder,
                             "Excel Files (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm");
            if (path.isEmpty()) return;
            TxtField[kWorkbookPath].text = path;
            op_.SetFocus("TxtField(4)");
        } else if (index == kBrowseMatch) {
            const QString title = QFileInfo(op_.OpenFile("Open Match File (.ini)", folder,
                                                         "Match Files (*.ini)|*.ini"))
                                      .fileName();
            if (title.isEmpty()) return;
            TxtField[kMatchName].text = title.left(title.size() - 4);
            op_.SetFocus("TxtField(5)");
        } else if (index == kBrowseSqlite) {
            const QString path =
                op_.OpenFile("Open SQLite Database", home_,
                             "SQLite Files (*.db *.sqlite *.sqlite3)|*.db;*.sqlite;*.sqlite3");
            if (path.isEmpty()) return;
            TxtField[kDatabaseName].text = path;
            op_.SetFocus("TxtField(1)");
        }
    });
}

void Minsert::GetColumnList() {
    Handle("GetColumnList", [&] {
        SheetSelectListBom.clear();
        SheetSelectList.clear();
        TargetSelectList.clear();
        const SelectLists lists = BuildSelectLists(*SC[kMappingGrid], TABLENAME.text);
        SheetSelectListBom = lists.sheetBom;
        SheetSelectList = lists.sheet;
        TargetSelectList = lists.target;
    });
}

QStringList Minsert::TillFields(const QString& table) {
    QStringList fields;
    if (!Connected() || table.isEmpty()) return fields;
    for (const TargetColumn& column :
         ReadTargetColumns(*SqlConnection, table, ColumnListing::All, {}))
        if (IsOffered(column.name)) fields << column.name;
    return fields;
}

void Minsert::LoadFieldList(ColumnListing listing) {
    if (!Connected()) {
        op_.MsgBox("Please Connect the Database to Select TILL Field.", MsgIcon::Critical,
                   "Message");
        op_.SetFocus("TxtField(0)");
        return;
    }
    const QList<TargetColumn> columns =
        ReadTargetColumns(*SqlConnection, TABLENAME.text, listing, UsedFieldList);
    Grid& mapping = *SC[kMappingGrid];
    MaxLength.resize(mapping.Rows());
    for (const TargetColumn& column : columns)
        RecordColumnLength(column.name, column.length, mapping, TABLENAME.text, MaxLength);
    mapping.ComboClear();
    mapping.ComboAddItem("");
    for (const TargetColumn& column : columns)
        if (IsOffered(column.name)) mapping.ComboAddItem(column.name);
}
