#include "base/ErrorLog.h"

#include <QDir>

#include "base/AppError.h"
#include "base/AppendFile.h"

QString LogFilePath(const QString& home, const QString& tag, const QDate& day) {
    return home + "/LOG/XLSLOADLOG/" + tag + "_" + day.toString("yyyyMMdd") + ".Log";
}

QString WriteLog(const QString& home, const QString& tag, const QString& text,
                 const QDateTime& now) {
    const QString folder = home + "/LOG/XLSLOADLOG";
    if (!QDir().mkpath(folder))
        return "Path/File access error: the folder " + folder + " cannot be made.";
    const QString line = "[XLSLOAD] " + now.toString("dd/MM/yyyy") + " " +
                         now.toString("HH:mm:ss") + " " + text + "\r\n";
    try {
        AppendFile file(LogFilePath(home, tag, now.date()));
        file.Append(line.toUtf8());
        file.Close();
    } catch (const AppError& e) {
        return e.Description();
    }
    return {};
}
