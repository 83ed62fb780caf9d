#include "cli/RunOptions.h"

#include <QHash>

#include "database/ConnectionString.h"

std::optional<RunOptions> ParseRunOptions(const QStringList& args, QString& error) {
    RunOptions o;
    QString timeout;
    QString summary;
    const QHash<QString, bool*> flags{
        {"--yes", &o.yes}, {"--quiet", &o.quiet}, {"--strict-match", &o.strictMatch}};
    const QHash<QString, QString*> valued{
        {"--home", &o.home},       {"--target", &o.target},
        {"--server", &o.server},   {"--database", &o.database},
        {"--user", &o.user},       {"--password-file", &o.passwordFile},
        {"--company", &o.company}, {"--workbook", &o.workbook},
        {"--sheet", &o.sheet},     {"--table", &o.table},
        {"--match", &o.match},     {"--save-match", &o.saveMatch},
        {"--timeout", &timeout},   {"--summary", &summary}};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (flags.contains(a)) {
            *flags[a] = true;
        } else if (a == "--map" || a == "--password" || valued.contains(a)) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return std::nullopt;
            }
            if (a == "--map")
                o.maps << args[++i];
            else if (a == "--password")
                o.password = args[++i];
            else
                *valued[a] = args[++i];
        } else {
            error = "unknown option " + a;
            return std::nullopt;
        }
    }
    if (!timeout.isEmpty()) {
        bool ok = false;
        o.timeoutSeconds = timeout.toInt(&ok);
        if (!ok || o.timeoutSeconds <= 0) {
            error = "--timeout needs a whole number of seconds above 0";
            return std::nullopt;
        }
    }
    if (!summary.isEmpty() && summary != "text" && summary != "json") {
        error = "--summary needs text or json";
        return std::nullopt;
    }
    o.jsonSummary = summary == "json";
    if (o.workbook.isEmpty() || o.sheet.isEmpty()) {
        error = "--workbook and --sheet are needed";
        return std::nullopt;
    }
    const bool byFields = !o.server.isEmpty() || !o.database.isEmpty();
    if (int(!o.target.isEmpty()) + int(byFields) + int(!o.company.isEmpty()) != 1) {
        error =
            "name the database once: --target, --server/--database/--user/--password, or "
            "--company";
        return std::nullopt;
    }
    if (o.password && !o.passwordFile.isEmpty()) {
        error = "give the password once: --password or --password-file";
        return std::nullopt;
    }
    if ((o.password || !o.passwordFile.isEmpty()) && !TakesPassword(o)) {
        error =
            "--password and --password-file go with --server/--database/--user or with an "
            "odbc: --target that has no Pwd=";
        return std::nullopt;
    }
    return o;
}

bool TakesPassword(const RunOptions& o) {
    if (!o.server.isEmpty() || !o.database.isEmpty()) return true;
    const QString odbc = kOdbcTargetPrefix;
    return o.target.startsWith(odbc) && !HoldsPassword(o.target.mid(odbc.size()));
}
