#pragma once

#include <QJsonArray>
#include <QString>
#include <QVariant>

// A sheet for a test workbook: its name and rows of cells (QString, a
// number, a null QVariant for no cell, or a QDate).
struct TestSheet {
    QString name;
    QList<QVariantList> rows;
};

// Writes a real .xls through Python's xlwt, or an .xlsx through XlsxWriter
// when the path ends in ".xlsx"; fails the calling test when the writer fails.
void WriteWorkbook(const QString& path, const QList<TestSheet>& sheets);
