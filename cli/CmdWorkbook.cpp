// xlsload sheets / columns / dump: the workbook as the program reads it.
#include <QTextStream>

#include "base/AppError.h"
#include "base/LineField.h"
#include "cli/Commands.h"
#include "workbook/SheetConnection.h"
#include "workbook/SheetDump.h"

namespace {
// Runs a workbook command given exactly count arguments; a refusal goes to
// stderr with exit status 2.
template <typename Body>
int RunWorkbookCommand(const char* name, const QStringList& args, qsizetype count, Body body) {
    QTextStream err(stderr);
    if (args.size() != count) {
        err << name << ": expected " << count << " argument(s); see xlsload --help\n";
        return 2;
    }
    try {
        QTextStream out(stdout);
        body(out);
        return 0;
    } catch (const AppError& e) {
        err << name << ": error " << e.Number() << ": " << e.Description() << '\n';
        return 2;
    }
}
}  // namespace

int RunSheets(const QStringList& args) {
    return RunWorkbookCommand("sheets", args, 1, [&](QTextStream& out) {
        for (const QString& name : SheetNames(args[0])) out << LineField(name) << '\n';
    });
}

int RunColumns(const QStringList& args) {
    return RunWorkbookCommand("columns", args, 2, [&](QTextStream& out) {
        WriteSheetColumns(*SheetConnection::OpenWorkbook(args[0]), args[1], out);
    });
}

int RunDump(const QStringList& args) {
    return RunWorkbookCommand("dump", args, 2, [&](QTextStream& out) {
        WriteSheetDump(*SheetConnection::OpenWorkbook(args[0]), args[1], out);
    });
}
