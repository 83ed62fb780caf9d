#pragma once

#include <QJsonArray>
#include <QString>
#include <QVariant>

#include "base/CellError.h"

// A number cell shown in a number format of its own ("yyyy-mm-dd").
struct FormattedNumber {
    double number;
    QString format;
};
Q_DECLARE_METATYPE(FormattedNumber)

// A sheet for a test workbook: its name and rows of cells (QString, a
// number, a null QVariant for no cell, a QDate, a FormattedNumber, or an
// error cell, ErrorValue("#DIV/0!")).
struct TestSheet {
    QString name;
    QList<QVariantList> rows;
};

// Writes a real .xls through Python's xlwt, or an .xlsx through XlsxWriter
// when the path ends in ".xlsx"; fails the calling test when the writer fails.
void WriteWorkbook(const QString& path, const QList<TestSheet>& sheets);
