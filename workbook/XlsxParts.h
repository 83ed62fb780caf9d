#pragma once

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QVector>

#include "workbook/NumberFormat.h"

// Readers of the small parts of a workbook package that say where the
// worksheets are and how to read their cells. Each reads its part as it
// streams in and throws an XlsxFault when the part is unreadable.

struct XlsxRelationship {
    QString type;  // the relationship type URI
    QString part;  // the target part, resolved against the source part
};

// A relationships part, by relationship id; external targets are left out.
QHash<QString, XlsxRelationship> ReadRelationships(QIODevice& device, const QString& part,
                                                   const QString& sourcePart);

// Whether a relationship type URI is of that kind ("worksheet",
// "officeDocument", ...), in the transitional or the strict namespaces.
bool IsRelationshipType(const QString& type, QStringView kind);

// The workbook part [Content_Types].xml names, or empty.
QString ReadWorkbookContentType(QIODevice& device, const QString& part);

struct XlsxSheetEntry {
    QString name;
    QString relationshipId;
};

struct XlsxWorkbookInfo {
    QVector<XlsxSheetEntry> sheets;  // in workbook order
    bool date1904 = false;
};

XlsxWorkbookInfo ReadWorkbookInfo(QIODevice& device, const QString& part);

// The shared strings in order. Refuses a table past a bound on its size.
QVector<QString> ReadSharedStrings(QIODevice& device, const QString& part);

// How each cell format (cellXfs entry, by index) shows numbers.
QVector<DateKind> ReadCellFormats(QIODevice& device, const QString& part);
