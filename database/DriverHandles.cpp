#include "database/DriverHandles.h"

#include <QSqlDatabase>
#include <QSqlDriver>

namespace {
template <typename Handle>
Handle* DriverHandle(const QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    return handle.isValid() ? *static_cast<Handle* const*>(handle.constData()) : nullptr;
}
}  // namespace

Engine EngineOf(const QSqlDatabase& db) {
    // QODBC names the DBMS from the driver's SQL_DBMS_NAME.
    switch (db.driver()->dbmsType()) {
        case QSqlDriver::SQLite:
            return Engine::SQLite;
        case QSqlDriver::PostgreSQL:
            return Engine::PostgreSQL;
        default:
            return Engine::SqlServer;
    }
}

void* OdbcHandle(const QSqlDatabase& db) { return DriverHandle<void>(db); }

sqlite3* SqliteHandle(const QSqlDatabase& db) { return DriverHandle<sqlite3>(db); }
