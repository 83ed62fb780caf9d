// Connecting to the target database named by the database details.
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"

void Minsert::CboDriver_Click() {
    const bool file = CboDriver.listIndex == kSqliteDriver;
    CSearch[2].visible = file;
    for (const int field : {0, 2, 3}) TxtField[field].enabled = !file;
    // A file's full path is longer than a server's database name may be.
    TextBox& database = TxtField[1];
    database.maxLength = file ? 0 : kDatabaseNameLength;
    if (database.maxLength > 0) database.text.truncate(database.maxLength);
}

void Minsert::ConnectDSN() {
    const QString& server = TxtField[0].text;
    const QString& database = TxtField[1].text;
    const QString& user = TxtField[2].text;
    const QString& password = TxtField[3].text;
    switch (CboDriver.listIndex) {
        case kPostgreSqlDriver:
            SqlConnectString = PostgreSqlConnectionString(server, database, user, password);
            ConnectTarget(OdbcTarget(SqlConnectString));
            break;
        case kSqliteDriver:
            SqlConnectString = SqliteTarget(database);
            ConnectTarget(SqlConnectString);
            break;
        default:
            SqlConnectString = SqlServerConnectionString(server, database, user, password);
            ConnectTarget(OdbcTarget(SqlConnectString));
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
