// The company directory: the list at start-up and picking a company.
#include "base/TextUtil.h"
#include "companies/CompanyDirectory.h"
#include "form/Minsert.h"

namespace {
const QString kMarker = "LOGINMARKER";
}  // namespace

void Minsert::ConnectCompDSN() {
    Handle("ConnectCompDSN", [&] {
        CompanyConnection.reset();
        CompanyConnection = CompanyDirectory::Open(home_ + "/CompFile.mdb");
    });
}

void Minsert::SC_DblClick(int index) {
    Handle("SC_DblClick", [&] {
        if (index != kCompanyList) return;
        const Grid& list = *SC[kCompanyList];
        if (list.Row() < 0) {
            op_.MsgBox("No Data Selected !!!", MsgIcon::Critical, "Message");
            return;
        }
        LblStatus.visible = false;
        CVerify.enabled = false;
        CStart.enabled = false;
        const QString code = list.CellText(list.Row(), 0);
        if (!CompanyConnection)
            throw AppError(ErrorNumber::ConnectionClosed, "The company directory is not open.");
        const auto rs = CompanyConnection->Find(code);
        if (rs->Eof()) return;
        // The company directory lists SQL Server databases.
        CboDriver.listIndex = kSqlServerDriver;
        CboDriver_Click();
        const struct {
            const char* column;
            int field;
        } kCopies[] = {{"ServerName", 0}, {"DatabaseName", 1}, {"UserID", 2}};
        for (const auto& copy : kCopies) {
            const QVariant v = rs->Value(copy.column);
            if (!v.isNull()) TxtField[copy.field].text = v.toString();
        }
        const QVariant stored = rs->Value("Password");
        if (stored.isNull() || stored.toString().isEmpty()) return;
        const QString plain = Decrypt(stored.toString());
        TxtField[kPassword].text =
            plain.startsWith(kMarker) ? plain.mid(kMarker.size()) : QString();
    });
}
