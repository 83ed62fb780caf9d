// Connecting to the target database named by the database details.
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"

void Minsert::CboDriver_Click() {
    const bool file = CboDriver.listIndex == kSqliteDriver;
    CSearch[kBrowseSqlite].visible = file;
    for (const int field : {kServerName, kUserId, kPassword}) TxtField[field].enabled = !file;
    // A file's full path is longer than a server's database name may be.
    TextBox& database = TxtField[kDatabaseName];
    database.maxLength = file ? 0 : kDatabaseNameLength;
    if (database.maxLength > 0) database.text.truncate(database.maxLength);
}

void Minsert::ConnectDSN() {
    const QString& server = TxtField[kServerName].text;
    const QString& database = TxtField[kDatabaseName].text;
    const QString& user = TxtField[kUserId].text;
    const QString& password = TxtField[kPassword].text;
    switch (CboDriver.listIndex) {
        case kPostgreSqlDriver:
            ConnectTarget(OdbcTarget(PostgreSqlConnectionString(server, database, user, password)));
            break;
        case kSqliteDriver:
            ConnectTarget(SqliteTarget(database));
            break;
        default:
            ConnectTarget(OdbcTarget(SqlServerConnectionString(server, database, user, password)));
            break;
    }
}

void Minsert::ConnectTarget(const QString& target) {
    Handle(
        "ConnectDSN",
        [&] {
            // The previous connection is released before the new one opens.
            SqlConnection.reset();
            SqlConnection = DbConnection::Connect(target);
            LblStatus.visible = true;
            CVerify.enabled = true;
        },
        [&] {
            LblStatus.visible = false;
            CVerify.enabled = false;
        });
}
