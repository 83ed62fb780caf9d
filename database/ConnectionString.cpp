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

namespace {
// The keys of a connection string, upper case: "KEY=value;" parts, where a
// value between braces may hold ";" and a doubled "}".
QStringList ConnectionKeys(const QString& text) {
    QStringList keys;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype eq = text.indexOf('=', at);
        const qsizetype semicolon = text.indexOf(';', at);
        if (eq < 0) break;
        if (semicolon >= 0 && semicolon < eq) {
            at = semicolon + 1;  // a part without a value
            continue;
        }
        keys << text.mid(at, eq - at).trimmed().toUpper();
        at = eq + 1;
        while (at < text.size() && text[at] == ' ') ++at;
        if (at < text.size() && text[at] == '{') {
            for (++at; at < text.size(); ++at) {
                if (text[at] != '}') continue;
                if (at + 1 < text.size() && text[at + 1] == '}') {
                    ++at;
                    continue;
                }
                break;
            }
        }
        const qsizetype end = text.indexOf(';', at);
        at = end < 0 ? text.size() : end + 1;
    }
    return keys;
}
}  // namespace

bool HoldsPassword(const QString& connectionString) {
    const QStringList keys = ConnectionKeys(connectionString);
    return keys.contains("PWD") || keys.contains("PASSWORD");
}

QString WithPassword(const QString& connectionString, const QString& password) {
    const QString separator =
        connectionString.isEmpty() || connectionString.endsWith(';') ? "" : ";";
    return connectionString + separator + "Pwd=" + ConnectionValue(password) + ";";
}

QString OdbcTarget(const QString& connectionString) { return kOdbcTargetPrefix + connectionString; }

QString SqliteTarget(const QString& path) { return kSqliteTargetPrefix + path; }
