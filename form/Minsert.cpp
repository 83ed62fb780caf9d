#include "form/Minsert.h"

#include <QDir>
#include <QFile>

#include "base/Connection.h"
#include "companies/CompanyDirectory.h"
#include "database/DbConnection.h"
#include "mapping/Catalogue.h"
#include "validation/VerifyPass.h"

Minsert::Minsert(Operator& op, QString home, Clock clock)
    : op_(op), home_(std::move(home)), reporter_(Err, op_, home_, std::move(clock)) {
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
        if (const QString problem = CompositeKeyProblem(*SC[kMappingGrid], TABLENAME.text);
            !problem.isEmpty()) {
            op_.MsgBox(problem, MsgIcon::Critical, "Message");
            return;
        }
        if (VerifyData())
            op_.MsgBox("Error Found !!! Please Check Again the Excel Data.", MsgIcon::Critical,
                       "Message");
        else
            op_.MsgBox("No Error Found.", MsgIcon::Exclamation, "Message");
        CStart.enabled = true;
    });
}

void Minsert::CStart_Click() {
    Handle("CStart_Click", [&] {
        if (!CStart.enabled) return;
        if (SC[kResultGrid]->Rows() > 0 &&
            !op_.AskYesNo("Confirm to Start Insert Data WITHOUT Error Data ?", "Question")) {
            op_.MsgBox("Action Cancel.", MsgIcon::Exclamation, "Message");
            return;
        }
        InsertData();
        op_.MsgBox("Insert Done.", MsgIcon::Exclamation, "Message");
    });
}

void Minsert::CClose_Click() {
    Form_Unload();
    Unloaded = true;
}
