#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The options of `verify` and `import`.
struct RunOptions {
    QString home;
    QString target;  // sqlite:PATH or odbc:CONNECTION-STRING
    QString server, database, user;
    // As given by --password; filled by FindPassword when another source gives it.
    std::optional<QString> password;
    QString passwordFile;
    QString company;
    QString workbook, sheet;
    QString table;
    QString match;
    QStringList maps;  // "EXCEL FIELD=TILL FIELD"
    QString saveMatch;
    bool yes = false;
    int timeoutSeconds = 0;    // 0: the program folder's setting
    bool quiet = false;        // no progress line
    bool strictMatch = false;  // refuse a match file that does not fit the sheet
    bool jsonSummary = false;  // the result as one JSON document instead of text lines
};

// Parses the options; on a mistake answers nullopt and says why in error.
std::optional<RunOptions> ParseRunOptions(const QStringList& args, QString& error);

// Whether the database the options name logs in with a password the
// command line may give: the server's fields, or an odbc: target whose
// string has none of its own.
bool TakesPassword(const RunOptions& o);
