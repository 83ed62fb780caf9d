#include "database/ConnectionString.h"

#include <QRegularExpression>

QString ConnectionValue(const QString& value) {
    const bool plain = !value.contains(';') && !value.contains('{') && !value.contains('}') &&
                       value.trimmed().size() == value.size();
    if (plain) return value;
    return "{" + QString(value).replace("}", "}}") + "}";
}

QString SqlServerConnectionString(const QString& server, const QString& database,
                                  const QString& user, const QString& password) {
    return QString("Driver={%1};").arg(kSqlServerDriver) + "Server=" + ConnectionValue(server) +
           ";" + "Database=" + ConnectionValue(database) + ";" + "Uid=" + ConnectionValue(user) +
           ";" + "Pwd=" + ConnectionValue(password);
}

QString PostgreSqlConnectionString(const QString& server, const QString& database,
                                   const QString& user, const QString& password) {
    static const QRegularExpression kHostPort("^(.*):(\\d+)$");
    const QRegularExpressionMatch m = kHostPort.match(server);
    const QString host = m.hasMatch() ? m.captured(1) : server;
    const QString port = m.hasMatch() ? "Port=" + m.captured(2) + ";" : QString();
    return QString("Driver={%1};").arg(kPostgreSqlDriver) + "Server=" + ConnectionValue(host) +
           ";" + port + "Database=" + ConnectionValue(database) + ";" +
           "Uid=" + ConnectionValue(user) + ";" + "Pwd=" + ConnectionValue(password) +
           ";Protocol=7.4-0";
}

QString OdbcTarget(const QString& connectionString) { return kOdbcTargetPrefix + connectionString; }

QString SqliteTarget(const QString& path) { return kSqliteTargetPrefix + path; }
