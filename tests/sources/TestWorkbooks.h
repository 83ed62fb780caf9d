#pragma once

#include <QDir>
#include <QString>

// The workbooks written by tests/fixtures/make_workbooks.py into the build tree.
inline QString TestWorkbook(const char* name) { return QString(WORKBOOK_DIR "/") + name; }

// The real-world workbooks beside the repository, or empty when they are absent.
inline QString CorpusDir() {
    const QString dir = QString(XLSLOAD_SOURCE_DIR "/../shared/fixtures/xls-corpus");
    return QDir(dir).exists() ? QDir(dir).absolutePath() : QString();
}
