#include "database/ConnectionString.h"

#include <QRegularExpression>

#include "base/AppError.h"

QString ConnectionValue(const QString& value) {
    const bool plain = !value.contains(';') && !value.contains('{') && !value.contains('}') &&
                       value.trimmed().size() == value.size();
    if (plain) return value;
    return "{" + QString(value).replace("}", "}}") + "}";
}

namespace {
// A value for FreeTDS, always between braces. FreeTDS takes a doubled "}}"
// as two characters, so a "}" could only arrive changed: it is refused.
QString FreeTdsValue(const QString& value, const char* label) {
    if (value.contains('}'))
        throw AppError(ErrorNumber::InvalidArgument,
                       QString("The %1 cannot hold the character }: the SQL Server driver would "
                               "not receive it as typed.")
                           .arg(label));
    return "{" + value + "}";
}
}  // namespace

QString SqlServerConnectionString(const QString& server, const QString& database,
                                  const QString& user, const QString& password) {
    // The closing ";" keeps the terminating NUL the driver chain passes on
    // out of the last value.
    return QString("Driver={%1};").arg(kSqlServerDriver) +
           "Server=" + FreeTdsValue(server, "Server Name") + ";" +
           "Database=" + FreeTdsValue(database, "Database Name") + ";" +
           "Uid=" + FreeTdsValue(user, "User ID") + ";" +
           "Pwd=" + FreeTdsValue(password, "Password") + ";";
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
           ";Protocol=7.4-0;";
}

QString OdbcTarget(const QString& connectionString) { return kOdbcTargetPrefix + connectionString; }

QString SqliteTarget(const QString& path) { return kSqliteTargetPrefix + path; }
