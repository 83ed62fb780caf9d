#include "workbook/XlsxParts.h"

#include <QXmlStreamReader>

#include "workbook/MemoryBudget.h"
#include "workbook/NumberFormat.h"
#include "workbook/XlsxPackage.h"
#include "workbook/XlsxScanner.h"
#include "workbook/XlsxXml.h"

namespace {

bool IsTrue(QStringView v) { return v == u"1" || v == u"true"; }
}  // namespace

bool IsRelationshipType(const QString& type, QStringView kind) {
    return type.endsWith(kind) && type.size() > kind.size() &&
           type[type.size() - kind.size() - 1] == '/';
}

QHash<QString, XlsxRelationship> ReadRelationships(QIODevice& device, const QString& part,
                                                   const QString& sourcePart) {
    QHash<QString, XlsxRelationship> relationships;
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (NextToken(xml) != QXmlStreamReader::StartElement || xml.name() != u"Relationship")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (Attribute(a, u"TargetMode").compare(u"External", Qt::CaseInsensitive) == 0) continue;
        relationships.insert(Attribute(a, u"Id").toString(),
                             {Attribute(a, u"Type").toString(),
                              ResolvePart(sourcePart, Attribute(a, u"Target").toString())});
    }
    CheckPartEnd(xml, device, part);
    return relationships;
}

QString ReadWorkbookContentType(QIODevice& device, const QString& part) {
    QString workbook;
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (NextToken(xml) != QXmlStreamReader::StartElement || xml.name() != u"Override") continue;
        const QXmlStreamAttributes a = xml.attributes();
        // The workbook's type, plain, macro-enabled or template, ends so.
        const QStringView type = Attribute(a, u"ContentType");
        const bool isWorkbook =
            type.endsWith(u".main+xml") &&
            (type.contains(u"spreadsheetml") || type.startsWith(u"application/vnd.ms-excel."));
        if (workbook.isEmpty() && isWorkbook)
            workbook = ResolvePart({}, Attribute(a, u"PartName").toString());
    }
    CheckPartEnd(xml, device, part);
    return workbook;
}

XlsxWorkbookInfo ReadWorkbookInfo(QIODevice& device, const QString& part) {
    XlsxWorkbookInfo info;
    bool propertiesSeen = false;
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        if (NextToken(xml) != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"workbookPr" && !propertiesSeen) {
            // Later ones, in extension lists, say other things.
            propertiesSeen = true;
            info.date1904 = IsTrue(Attribute(a, u"date1904"));
        } else if (xml.name() == u"sheet") {
            XlsxSheetEntry sheet{Attribute(a, u"name").toString(), {}};
            // The relationship id is the namespaced "id"; the sheet's own
            // number is "sheetId".
            for (const QXmlStreamAttribute& attribute : a)
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    sheet.relationshipId = attribute.value().toString();
            info.sheets.append(sheet);
        }
    }
    CheckPartEnd(xml, device, part);
    return info;
}

QVector<QString> ReadSharedStrings(QIODevice& device, const QString& part) {
    QVector<QString> strings;
    qint64 chars = 0;
    MemoryWatch watch;
    XlsxScanner scan(device, part);
    for (XlsxScanner::Token token; (token = scan.Next()) != XlsxScanner::Done;) {
        if (token != XlsxScanner::Start) continue;
        if (scan.NameIs("sst")) {
            // Room at once for the strings the table says it holds, as far
            // as a quarter of the memory free allows: a large table is then
            // not moved as it grows.
            const qint64 unique = scan.Attribute("uniqueCount").toLongLong();
            strings.reserve(
                qsizetype(qBound<qint64>(0, unique, FreeMemory() / 4 / qint64(sizeof(QString)))));
        }
        if (!scan.NameIs("si")) continue;
        strings.append(RichText(scan));
        chars += strings.last().size();
        // About 40 bytes a string beside its characters; the list may
        // grow by as much again.
        watch.Check(strings.size() * 40 + chars * 2, strings.capacity() * qint64(sizeof(QString)));
    }
    return strings;
}

QVector<DateKind> ReadCellFormats(QIODevice& device, const QString& part) {
    QHash<int, DateKind> custom;
    QVector<int> cellFormats;
    bool inCellXfs = false;
    QXmlStreamReader xml(&device);
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = NextToken(xml);
        if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") inCellXfs = false;
        if (token != QXmlStreamReader::StartElement) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == u"numFmt") {
            custom.insert(Attribute(a, u"numFmtId").toInt(),
                          FormatDateKind(Attribute(a, u"formatCode")));
        } else if (xml.name() == u"cellXfs") {
            inCellXfs = true;
        } else if (xml.name() == u"xf" && inCellXfs) {
            cellFormats.append(Attribute(a, u"numFmtId").toInt());
        }
    }
    CheckPartEnd(xml, device, part);
    QVector<DateKind> kinds;
    kinds.reserve(cellFormats.size());
    for (const int id : cellFormats)
        kinds.append(custom.contains(id) ? custom.value(id) : BuiltInFormatKind(id));
    return kinds;
}
