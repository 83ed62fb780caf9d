#include "form/Minsert.h"

#include <QDir>
#include <QFile>

#include "base/Connection.h"
#include "companies/CompanyDirectory.h"
#include "database/DbConnection.h"
#include "form/CountText.h"
#include "mapping/Catalogue.h"
#include "mapping/MappingCheck.h"
#include "validation/VerifyPass.h"
#include "workbook/SheetConnection.h"

Minsert::RunningPass::RunningPass(Minsert& form, QString stopQuestion) : form_(form) {
    form_.runningPass_ = std::move(stopQuestion);
    form_.stopRequested_ = false;
}

Minsert::RunningPass::~RunningPass() {
    form_.runningPass_.clear();
    form_.stopRequested_ = false;
}

namespace {
constexpr char kNoDataRows[] = "The sheet has no data rows: only its header row is there to read.";
}  // namespace

Minsert::Minsert(Operator& op, QString home, Clock clock)
    : op_(op), home_(std::move(home)), reporter_(Err, op_, home_, std::move(clock)) {
    Label5.caption =
        "*** All excel and ini file must put it at ..." + QDir::toNativeSeparators("/EXCEL/");
    // The hidden rule lists have no row-header column.
    for (int i = 0; i < int(SC.size()); ++i)
        SC[i] = std::make_unique<Grid>(i != kMustDefaultList && i != kMustFillList);
}

Minsert::~Minsert() = default;

void Minsert::Form_Load() {
    Handle("Form_Load", [&] {
        CheckExistFolder();
        LoadLCombo();
        if (QFile::exists(home_ + "/CompFile.mdb")) {
            ConnectCompDSN();
            View_Data(kCompanyList);
        }
    });
}

void Minsert::Form_Unload() {
    // Closing must never stop the program: every failure is ignored.
    const auto close = [](auto& connection) {
        try {
            if (connection) connection->Close();
        } catch (...) {
        }
    };
    close(ExcelConnection);
    close(CompanyConnection);
    close(SqlConnection);
}

void Minsert::CheckExistFolder() {
    Handle("CheckExistFolder", [&] {
        if (!QDir().mkpath(home_ + "/EXCEL"))
            throw AppError(ErrorNumber::PathNotFound, "Path not found: " + home_ + "/EXCEL");
    });
}

void Minsert::LoadLCombo() {
    Handle("LoadLCombo", [&] {
        LCombo[kTableList].Clear();
        List1[kTableNames].Clear();
        for (const CatalogueEntry& e : kCatalogue) {
            LCombo[kTableList].items << e.label;
            List1[kTableNames].items << e.table;
        }
        LCombo[kTableList].listIndex = -1;
        List1[kTableNames].listIndex = LCombo[kTableList].listIndex;
    });
}

void Minsert::CConnect_Click() {
    Handle("CConnect_Click", [&] {
        static const struct {
            int field;
            const char* message;
        } kChecks[] = {{kServerName, "Invalid Server Name !!!"},
                       {kDatabaseName, "Invalid Database Name !!!"},
                       {kUserId, "Invalid User ID !!!"},
                       {kPassword, "Invalid Password !!!"}};
        // An SQLite file needs only its path, given as the database name.
        const bool fileOnly = CboDriver.listIndex == kSqliteDriver;
        for (const auto& check : kChecks) {
            if (fileOnly && check.field != kDatabaseName) continue;
            if (TxtField[check.field].text.isEmpty()) {
                op_.MsgBox(check.message, MsgIcon::Critical, "Message");
                op_.SetFocus(QString("TxtField(%1)").arg(check.field));
                return;
            }
        }
        LblStatus.visible = false;
        CVerify.enabled = false;
        CStart.enabled = false;
        ConnectDSN();
    });
}

void Minsert::CVerify_Click() {
    Handle("CVerify_Click", [&] {
        if (TABLENAME.text.isEmpty()) {
            op_.MsgBox("Please Select Table to Continue Verify.", MsgIcon::Exclamation, "Message");
            op_.SetFocus("LCombo(1)");
            return;
        }
        HideDuplicateMustFillField();
        if (!BlankFillFields.isEmpty()) {
            op_.MsgBox(BlankFillFields + " Cannot Leave Blank !!!", MsgIcon::Critical, "Message");
            return;
        }
        for (const QString& problem :
             {MappingProblem(*SC[kMappingGrid], TABLENAME.text, TillFields(TABLENAME.text)),
              SetupDefaultProblem()}) {
            if (problem.isEmpty()) continue;
            op_.MsgBox(problem, MsgIcon::Critical, "Message");
            return;
        }
        LblResult.caption.clear();
        bool errorsFound = false;
        try {
            errorsFound = VerifyData();
        } catch (const PassStopped& stop) {
            ShowProgress("");
            DisableStartUntilVerify();
            op_.MsgBox(QString("Verify stopped at row %1 of %2: press Verify again to check the "
                               "whole sheet before Start.")
                           .arg(Grouped(stop.position), Grouped(stop.count)),
                       MsgIcon::Exclamation, "Message");
            return;
        }
        if (VerifyResult.total == 0) {
            op_.MsgBox(kNoDataRows, MsgIcon::Exclamation, "Message");
            return;
        }
        if (errorsFound)
            op_.MsgBox("Error Found !!! Please Check Again the Excel Data.", MsgIcon::Critical,
                       "Message");
        else
            op_.MsgBox("No Error Found.", MsgIcon::Information, "Message");
        CStart.enabled = true;
    });
}

void Minsert::CStart_Click() {
    Handle("CStart_Click", [&] {
        if (!CStart.enabled) return;
        const int skipped = SC[kResultGrid]->Rows();
        if (skipped > 0 && !op_.AskYesNo("Confirm to Start Insert Data WITHOUT Error Data ?\n\n" +
                                             Rows(VerifyResult.total - skipped) +
                                             " will be written, " + Grouped(skipped) + " skipped.",
                                         "Question")) {
            op_.MsgBox("Action Cancel.", MsgIcon::Exclamation, "Message");
            return;
        }
        LblResult.caption.clear();
        InsertData();
        LblResult.caption = ResultText();
        if (InsertStoppedAt > 0)
            op_.MsgBox(QString("Insert stopped at row %1 of %2: %3 written.")
                           .arg(Grouped(InsertStoppedAt), Grouped(VerifyResult.total),
                                Rows(InsertTotals.inserted + InsertTotals.updated)),
                       MsgIcon::Exclamation, "Message");
        else
            op_.MsgBox("Insert Done.", MsgIcon::Information, "Message");
    });
}

void Minsert::ClearResults() {
    SC[kResultGrid]->SetCols(0);
    SC[kResultGrid]->SetRows(0);
    for (int t : {kTotalLines, kOkLines, kErrorLines}) TxtField[t].text.clear();
    LblResult.caption.clear();
    InsertNote.clear();
}

QString Minsert::ResultText() const {
    QString text = QString("Inserted %1, Updated %2, Skipped %3.")
                       .arg(Grouped(InsertTotals.inserted), Grouped(InsertTotals.updated),
                            Grouped(InsertTotals.skipped));
    if (!VerifyResult.verdictFiles.isEmpty())
        text += " Verdict files in the EXCEL folder: " + VerifyResult.verdictFiles.join(", ");
    if (!InsertNote.isEmpty()) text += " " + InsertNote;
    return text;
}

void Minsert::CClose_Click() {
    if (PassRunning()) {
        if (op_.AskYesNo(runningPass_, "Question")) StopPass();
        return;
    }
    Form_Unload();
    Unloaded = true;
}
