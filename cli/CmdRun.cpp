// xlsload verify / import: the window's commands driven by options.
#include <QFileInfo>
#include <QTextStream>

#include "cli/CliOperator.h"
#include "cli/Commands.h"
#include "cli/Password.h"
#include "cli/ProgramFolder.h"
#include "cli/RunOptions.h"
#include "cli/RunSummary.h"
#include "database/ConnectionString.h"
#include "form/Minsert.h"
#include "mapping/MatchFile.h"

namespace {

constexpr int kDone = 0;
constexpr int kRejectedRows = 1;
constexpr int kFailed = 2;

void Connect(Minsert& form, const RunOptions& o) {
    form.StatementTimeout = o.timeoutSeconds;
    if (!o.company.isEmpty()) {
        form.ConnectCompDSN();
        form.View_Data(Minsert::kCompanyList);
    }
    if (!o.company.isEmpty() && !form.PickCompany(o.company)) {
        form.Op().MsgBox("Company " + o.company + " is not in the company directory !!!",
                         MsgIcon::Critical, "Message");
        return;
    }
    if (!o.server.isEmpty() || !o.database.isEmpty()) {
        form.TxtField[Minsert::kServerName].text = o.server;
        form.TxtField[Minsert::kDatabaseName].text = o.database;
        form.TxtField[Minsert::kUserId].text = o.user;
        form.TxtField[Minsert::kPassword].text = o.password.value_or(QString());
    }
    if (o.target.isEmpty())
        form.CConnect_Click();
    else if (o.password && TakesPassword(o))
        form.ConnectTarget(
            OdbcTarget(WithPassword(o.target.mid(QString(kOdbcTargetPrefix).size()), *o.password)));
    else
        form.ConnectTarget(o.target);
}

// Maps "EXCEL FIELD=TILL FIELD", the last "=" parting them; answers why it
// cannot, or empty when mapped.
QString ApplyMap(Minsert& form, const QString& map) {
    const qsizetype eq = map.lastIndexOf('=');
    if (eq < 0) return "write it as EXCEL FIELD=TILL FIELD !!!";
    return form.MapColumn(map.left(eq), map.mid(eq + 1));
}

// The source and the mapping, as the operator would set them up.
bool Prepare(Minsert& form, const RunOptions& o) {
    Operator& op = form.Op();
    form.CheckExistFolder();
    form.LoadLCombo();
    Connect(form, o);
    if (!form.Connected()) return false;
    form.TxtField[Minsert::kMatchName].text = o.match;
    form.ChooseWorkbook(o.workbook);
    if (!form.ChooseSheet(o.sheet)) {
        op.MsgBox("Sheet " + o.sheet + " is not in the workbook !!!", MsgIcon::Critical, "Message");
        return false;
    }
    // The window keeps the mapping made when a match file is not applied;
    // a script that names one means a file to apply.
    if (!form.MatchNotApplied.isEmpty()) return false;
    if (o.strictMatch && !form.MatchMisfit.isEmpty()) {
        op.MsgBox("Match file " + o.match + " does not fit sheet " + o.sheet +
                      ": refused by --strict-match !!!",
                  MsgIcon::Critical, "Message");
        return false;
    }
    if (!o.table.isEmpty() && !form.ChooseTable(o.table)) {
        op.MsgBox("Table " + o.table + " is not in the catalogue !!!", MsgIcon::Critical,
                  "Message");
        return false;
    }
    for (const QString& map : o.maps) {
        if (const QString problem = ApplyMap(form, map); !problem.isEmpty()) {
            op.MsgBox("Cannot map \"" + map + "\": " + problem, MsgIcon::Critical, "Message");
            return false;
        }
    }
    if (!o.saveMatch.isEmpty()) {
        if (!o.yes && QFileInfo::exists(MatchFilePath(form.Home(), o.saveMatch))) {
            op.MsgBox("Match file " + MatchFilePath(form.Home(), o.saveMatch) +
                          " already exists: give --yes to replace it !!!",
                      MsgIcon::Critical, "Message");
            return false;
        }
        form.TxtField[Minsert::kMatchName].text = o.saveMatch;
        form.CSave_Click();
    }
    return true;
}

int Run(const QStringList& args, bool import) {
    QTextStream err(stderr);
    QString problem;
    auto options = ParseRunOptions(args, problem);
    if (!options || !FindPassword(*options, problem)) {
        err << "xlsload: " << problem << "\n";
        return kFailed;
    }
    CliOperator op(options->yes, stderr, options->quiet);
    Minsert form(op, ProgramFolder(options->home));
    if (!Prepare(form, *options) || op.ErrorsShown() > 0) return kFailed;
    form.CVerify_Click();
    if (!form.CStart.enabled || op.ErrorsShown() > 0) return kFailed;
    QTextStream out(stdout);
    RunSummary summary = SummarizeVerify(form);
    // Text goes out as each part is known; the JSON document once the command ends.
    const auto finish = [&](int status) {
        if (options->jsonSummary) out << SummaryJson(summary);
        return status;
    };
    if (!options->jsonSummary) out << VerifyText(summary);
    const bool rejected = !summary.rejected.isEmpty();
    if (import) {
        form.CStart_Click();
        // Without --yes the question before inserting around rejected rows is answered No.
        if (op.ErrorsShown() > 0 || (rejected && !options->yes)) return finish(kFailed);
        summary.counts = form.InsertTotals;
        if (!options->jsonSummary) out << CountsText(form.InsertTotals);
    }
    return finish(rejected ? kRejectedRows : kDone);
}

}  // namespace

int RunVerify(const QStringList& args) { return Run(args, false); }
int RunImport(const QStringList& args) { return Run(args, true); }
