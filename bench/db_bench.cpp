// Times the database side of the insert pass on the demo table MT_PLU:
// per record one OpenTable by its key and one Update, each committed on its
// own; first every record is new, then every record changes.
//
//   db_bench TARGET [RECORDS]
//
// TARGET is sqlite:PATH (made afresh) or odbc:CONNECTION-STRING; the demo
// tables in it are dropped and created again.
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "base/AppError.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"

namespace {

void Pass(DbConnection& db, const char* what, int records, const char* description) {
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < records; ++i) {
        const QString plu = QString("P%1").arg(i, 7, 10, QChar('0'));
        const auto rs =
            db.OpenTable({"MT_PLU",
                          {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY", "UNITPRICE"},
                          {{"PLUCODE", plu}}});
        if (rs->Eof()) rs->AddNew();
        rs->SetValue("PLUCODE", plu);
        rs->SetValue("ITEMCODE", "I" + plu);
        rs->SetValue("POSDESCRIPTION", QString("%1 %2").arg(description, plu));
        rs->SetValue("UOMQTY", "1");
        rs->SetValue("UNITPRICE", QString::number(i % 100 + 0.25));
        rs->Update();
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%-10s %7d records  %8.3f s  %9.0f records/s\n", what, records, seconds,
                records / seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: db_bench TARGET [RECORDS]\n");
        return 2;
    }
    const QString target = QString::fromLocal8Bit(argv[1]);
    const int records = argc > 2 ? std::atoi(argv[2]) : 10000;
    try {
        if (target.startsWith(kSqliteTargetPrefix))
            QFile::remove(target.mid(int(qstrlen(kSqliteTargetPrefix))));
        const auto db = DbConnection::Connect(target, DbConnection::SqliteFile::Create);
        DropDemoSchema(*db);
        CreateDemoSchema(*db);
        Pass(*db, "add", records, "New");
        Pass(*db, "change", records, "Changed");
    } catch (const AppError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.Number(), qPrintable(e.Description()));
        return 1;
    }
    return 0;
}
