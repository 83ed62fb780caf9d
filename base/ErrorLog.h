#pragma once

#include <QDateTime>
#include <QString>

// Appends one line "[XLSLOAD] dd/mm/yyyy hh:mm:ss text" (CRLF) to
// home/LOG/XLSLOADLOG/<tag>_yyyymmdd.Log, creating the folders and the file.
// Never throws: a log that cannot be written must not stop the program.
// Answers why the line was not written, naming the file; empty when it was.
QString WriteLog(const QString& home, const QString& tag, const QString& text,
                 const QDateTime& now);

// The file WriteLog appends to for that tag and day.
QString LogFilePath(const QString& home, const QString& tag, const QDate& day);
