#include "base/ErrorLog.h"

#include <QDir>
#include <QFile>

QString LogFilePath(const QString& home, const QString& tag, const QDate& day) {
    return home + "/LOG/XLSLOADLOG/" + tag + "_" + day.toString("yyyyMMdd") + ".Log";
}

bool WriteLog(const QString& home, const QString& tag, const QString& text, const QDateTime& now) {
    if (!QDir().mkpath(home + "/LOG/XLSLOADLOG")) return false;
    QFile file(LogFilePath(home, tag, now.date()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QString line = "[XLSLOAD] " + now.toString("dd/MM/yyyy") + " " +
                         now.toString("HH:mm:ss") + " " + text + "\r\n";
    const QByteArray bytes = line.toUtf8();
    return file.write(bytes) == bytes.size();
}
