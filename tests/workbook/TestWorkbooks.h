#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTextStream>

#include "workbook/SheetConnection.h"

// The workbooks written by tests/support/make_workbooks.py into the build tree.
inline QString TestWorkbook(const char* name) { return QString(WORKBOOK_DIR "/") + name; }

// A folder of real-world workbooks beside the repository, or empty when it
// is absent.
inline QString CorpusDir(const char* folder = "xls-corpus") {
    const QString dir = QString(XLSLOAD_SOURCE_DIR "/../shared/fixtures/") + folder;
    return QDir(dir).exists() ? QDir(dir).absolutePath() : QString();
}

// The corpus manifest's entry of each file, by file name; empty when unreadable.
inline QHash<QString, QJsonObject> CorpusManifest(const QString& corpus) {
    QFile file(corpus + "/manifest.json");
    QHash<QString, QJsonObject> byFile;
    if (!file.open(QIODevice::ReadOnly)) return byFile;
    for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll())["files"].toArray())
        byFile.insert(entry["file"].toString(), entry.toObject());
    return byFile;
}

// A sheet written as `xlsload dump` (WriteSheetDump) or `xlsload columns`
// (WriteSheetColumns) writes it.
inline QString DumpSheet(const QString& path, const QString& sheet,
                         void (*write)(Connection&, const QString&, QTextStream&)) {
    const auto book = SheetConnection::OpenWorkbook(path);
    QString text;
    QTextStream out(&text);
    write(*book, sheet, out);
    out.flush();
    return text;
}

// Runs a writer script of tests/support ("write_xlsx.py") on a JSON
// description of a workbook; fails the calling test when it fails.
inline void RunWriter(const char* script, const QJsonObject& description) {
    QProcess python;
    python.start("/usr/bin/python3", {QString(XLSLOAD_SOURCE_DIR "/tests/support/") + script});
    python.write(QJsonDocument(description).toJson());
    python.closeWriteChannel();
    python.waitForFinished(60000);
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
}
