// Connecting to the target database named by the database details.
#include "base/Ini.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"

void Minsert::CboDriver_Click() {
    const bool file = CboDriver.listIndex == kSqliteDriver;
    CSearch[kBrowseSqlite].visible = file;
    Label1[kDatabaseNameLabel].caption = file ? "Database File" : "Database Name";
    for (const int field : {kServerName, kUserId, kPassword}) TxtField[field].enabled = !file;
    // A file's full path is longer than a server's database name may be.
    TextBox& database = TxtField[kDatabaseName];
    database.maxLength = file ? 0 : kDatabaseNameLength;
    if (database.maxLength > 0) database.text.truncate(database.maxLength);
}

QString Minsert::DsnTarget() const {
    const QString& server = TxtField[kServerName].text;
    const QString& database = TxtField[kDatabaseName].text;
    const QString& user = TxtField[kUserId].text;
    const QString& password = TxtField[kPassword].text;
    switch (CboDriver.listIndex) {
        case kPostgreSqlDriver:
            return OdbcTarget(PostgreSqlConnectionString(server, database, user, password));
        case kSqliteDriver:
            return SqliteTarget(database);
        default:
            return OdbcTarget(SqlServerConnectionString(server, database, user, password));
    }
}

int Minsert::StatementTimeoutSeconds() const {
    if (StatementTimeout > 0) return StatementTimeout;
    bool ok = false;
    const int set = ReadIni("CONNECTION", "Timeout", home_ + "/GSETUP.ini").toInt(&ok);
    return ok && set > 0 ? set : kDefaultStatementTimeout;
}

void Minsert::ConnectDSN() {
    ConnectWith([this] { return DsnTarget(); });
}

void Minsert::ConnectTarget(const QString& target) {
    ConnectWith([&target] { return target; });
}

void Minsert::ConnectWith(const std::function<QString()>& target) {
    Handle(
        "ConnectDSN",
        [&] {
            const QString opened = target();
            // The previous connection is released before the new one opens.
            SqlConnection.reset();
            ClearResults();
            SqlConnection = DbConnection::Connect(opened, DbConnection::SqliteFile::MustExist,
                                                  StatementTimeoutSeconds());
            LblStatus.visible = true;
            CVerify.enabled = true;
        },
        [&] {
            LblStatus.visible = false;
            CVerify.enabled = false;
        });
}
