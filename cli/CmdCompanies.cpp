// xlsload companies [--home DIR]: the company directory, one "Code<TAB>Name"
// line per company in the file's order.
#include <QTextStream>

#include "base/AppError.h"
#include "cli/Commands.h"
#include "cli/ProgramFolder.h"
#include "companies/CompanyDirectory.h"

int RunCompanies(const QStringList& args) {
    QTextStream err(stderr);
    QString given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--home" && i + 1 < args.size()) {
            given = args[++i];
            continue;
        }
        err << "companies: unexpected argument \"" << args[i]
            << "\"; usage: xlsload companies [--home DIR]\n";
        return 2;
    }
    try {
        const auto directory = CompanyDirectory::Open(ProgramFolder(given) + "/CompFile.mdb");
        const auto list = directory->List();
        QTextStream out(stdout);
        for (; !list->Eof(); list->MoveNext())
            out << list->Value(0).toString() << '\t' << list->Value(1).toString() << '\n';
        return 0;
    } catch (const AppError& e) {
        err << "companies: error " << e.Number() << ": " << e.Description() << '\n';
        return 2;
    }
}
