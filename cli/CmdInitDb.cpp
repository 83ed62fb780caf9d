// xlsload init-db TARGET: the demo till tables in a new database.
#include <QTextStream>

#include "base/AppError.h"
#include "cli/Commands.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"

int RunInitDb(const QStringList& args) {
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "init-db: expected 1 argument(s); see xlsload --help\n";
        return 2;
    }
    try {
        // A SQLite target is a new file; the target itself is never
        // echoed, since an ODBC string holds a password.
        const auto db = DbConnection::Connect(args[0], DbConnection::SqliteFile::Create);
        CreateDemoSchema(*db);
        QTextStream(stdout) << "Created the demo till tables\n";
        return 0;
    } catch (const AppError& e) {
        err << "init-db: error " << e.Number() << ": " << e.Description() << '\n';
        return 2;
    }
}
