// Choosing the target table, the mapping grid and match files.
#include <QFileInfo>

#include "base/TextUtil.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"
#include "mapping/ColumnDiscovery.h"
#include "mapping/MatchFile.h"
#include "mapping/SelectLists.h"

namespace {
void ClearTillFields(Grid& mapping) {
    for (int i = 0; i < mapping.Rows(); ++i) mapping.SetCellText(i, 1, "");
}
}  // namespace

void Minsert::LCombo_Click(int index) {
    Handle("LCombo_Click", [&] {
        DisableStartUntilVerify();
        if (index == 1) {
            List1[0].listIndex = LCombo[1].listIndex;
            if (List1[0].listIndex < 0) {
                TABLENAME.text.clear();
                return;
            }
            TABLENAME.text = List1[0].Text();
            LoadMustDoList();
        } else if (index == 0) {
            ConnectExcelDSN();
            View_Data(1);
            MatchExcelName();
        }
    });
}

void Minsert::LoadHeader(int index) {
    Handle("LoadHeader", [&] {
        if (index < 0 || index > 2) return;
        Grid& grid = *SC[index];
        switch (index) {
            case 0:
                grid.SetColWidthPercent(-1, 5);
                grid.SetColWidthPercent(0, 35);
                grid.SetColWidthPercent(1, 60);
                break;
            case 1:
                grid.SetCellText(-1, 0, "Excel Field");
                grid.SetCellText(-1, 1, "TILL Field");
                grid.SetCellText(-1, 2, "Excel Data Type");
                grid.SetColWidthPercent(-1, 5);
                grid.SetColWidthPercent(0, 45);
                grid.SetColWidthPercent(1, 50);
                grid.SetColCellType(1, Grid::kDropDownList);
                break;
            case 2:
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
        if (index != 1) return;
        UsedFieldList = ::UsedFieldList(*SC[1]);
        DisableStartUntilVerify();
    });
}

void Minsert::SC_BeforeEdit(int index, int row, int col) {
    Handle("SC_BeforeEdit", [&] {
        if (index != 1 || col != 1) return;
        LoadFieldList("");
        // The editor opens on the cell's own column, which the list leaves
        // out as used: leaving the editor without a choice keeps it.
        Grid& mapping = *SC[1];
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
        Grid& mapping = *SC[1];
        const QString name = TxtField[5].text;
        if (name.isEmpty()) {
            UsedFieldList.clear();
            ClearTillFields(mapping);
            DisableStartUntilVerify();
            return;
        }
        if (const QString problem = MatchNameProblem(name); !problem.isEmpty()) {
            op_.MsgBox(problem, MsgIcon::Critical, "Message");
            return;
        }
        // A name of no file yet is one to save the mapping under: a missing
        // file is not applied, so the mapping made stays.
        const QString path = MatchFilePath(home_, name);
        if (!QFileInfo::exists(path)) return;
        DisableStartUntilVerify();
        const MatchFile match = ReadMatchFile(path, mapping.Rows());
        TABLENAME.text = ColumnKey(match.tableName);
        if (const int i = List1[0].items.indexOf(TABLENAME.text); i >= 0) {
            LCombo[1].listIndex = i;
            LCombo_Click(1);
        }
        for (int i = 0; i < mapping.Rows(); ++i) {
            mapping.SetCellType(i, 1, Grid::kDropDownList);
            mapping.SetCellText(i, 1, match.fields[i]);
        }
        UsedFieldList = ::UsedFieldList(mapping);
    });
}

void Minsert::CSave_Click() {
    Handle("CSave_Click", [&] {
        const Grid& mapping = *SC[1];
        if (mapping.Rows() <= 0) {
            op_.MsgBox("Nothing to Save !!!", MsgIcon::Critical, "Message");
            op_.SetFocus("TxtField(4)");
            return;
        }
        if (LCombo[1].listIndex < 0) {
            op_.MsgBox("Invalid Match Table !!!", MsgIcon::Critical, "Message");
            op_.SetFocus("LCombo(1)");
            return;
        }
        if (TxtField[5].text.isEmpty()) {
            TxtField[5].text =
                op_.InputBox("Please Key in a Match File Name to Save.", "Save File As", "")
                    .value_or(QString());
            if (TxtField[5].text.isEmpty()) {
                op_.MsgBox("Save Cancel.", MsgIcon::Exclamation, "Message");
                return;
            }
        }
        if (const QString problem = MatchNameProblem(TxtField[5].text); !problem.isEmpty()) {
            op_.MsgBox(problem, MsgIcon::Critical, "Message");
            return;
        }
        const QString path = MatchFilePath(home_, TxtField[5].text);
        if (QFileInfo::exists(path) &&
            !op_.AskYesNo("Confirm to Replace the Match File " + TxtField[5].text + " ?",
                          "Question")) {
            op_.MsgBox("Save Cancel.", MsgIcon::Exclamation, "Message");
            return;
        }
        MatchFile match{TABLENAME.text, {}};
        for (int i = 0; i < mapping.Rows(); ++i) match.fields << mapping.CellText(i, 1);
        if (!SaveMatchFile(path, match))
            throw AppError(ErrorNumber::FileAccess, "Path/File access error: the match file " +
                                                        path + " could not be written.");
        op_.MsgBox("Save Completed.", MsgIcon::Exclamation, "Message");
    });
}

void Minsert::CSearch_Click(int index) {
    Handle("CSearch_Click", [&] {
        const QString folder = home_ + "/EXCEL";
        if (index == 0) {
            const QString path =
                op_.OpenFile("Open Excel (.xls)", folder, "Excel Files (*.xls)|*.xls");
            if (path.isEmpty()) return;
            TxtField[4].text = path;
            op_.SetFocus("TxtField(4)");
        } else if (index == 1) {
            const QString title =
                QFileInfo(op_.OpenFile("Open Excel (.ini)", folder, "Match Files (*.ini)|*.ini"))
                    .fileName();
            if (title.isEmpty()) return;
            TxtField[5].text = title.left(title.size() - 4);
            op_.SetFocus("TxtField(5)");
        } else if (index == 2) {
            const QString path =
                op_.OpenFile("Open SQLite Database", home_,
                             "SQLite Files (*.db *.sqlite *.sqlite3)|*.db;*.sqlite;*.sqlite3");
            if (path.isEmpty()) return;
            TxtField[1].text = path;
            op_.SetFocus("TxtField(1)");
        }
    });
}

void Minsert::GetColumnList() {
    Handle("GetColumnList", [&] {
        SheetSelectListBom.clear();
        SheetSelectList.clear();
        TargetSelectList.clear();
        const SelectLists lists = BuildSelectLists(*SC[1], TABLENAME.text);
        SheetSelectListBom = lists.sheetBom;
        SheetSelectList = lists.sheet;
        TargetSelectList = lists.target;
    });
}

void Minsert::LoadFieldList(const QString& mode) {
    if (!LblStatus.visible) {
        op_.MsgBox("Please Connect the Database to Select TILL Field.", MsgIcon::Critical,
                   "Message");
        op_.SetFocus("TxtField(0)");
        return;
    }
    Grid& mapping = *SC[1];
    mapping.ComboClear();
    mapping.ComboAddItem("");
    const Dialect& dialect = SqlConnection->SqlDialect();
    SqlText = ColumnQuery(dialect, TABLENAME.text, mode, UsedFieldList);
    const auto rs = SqlConnection->Open(SqlText);
    MaxLength.resize(mapping.Rows());
    for (; !rs->Eof(); rs->MoveNext()) {
        const QString column = rs->Value(0).toString();
        const QVariant length = rs->Value(2);
        RecordColumnLength(column,
                           length.isNull()
                               ? NoLengthLimit
                               : dialect.CharacterLength(length.toInt(), rs->Value(1).toInt()),
                           mapping, TABLENAME.text, MaxLength);
        if (IsOffered(column)) mapping.ComboAddItem(column);
    }
}
