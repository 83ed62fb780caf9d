#pragma once

#include <QIODevice>
#include <QString>
#include <QXmlStreamReader>

// What makes a part of a workbook package unreadable; the workbook reader
// turns it into a refusal naming the file.
struct XlsxFault {
    QString what;
};

// Steps to the next token. Refuses a document type declaration: workbook
// parts never have one, and its entities are the way to blow a small file up.
QXmlStreamReader::TokenType NextToken(QXmlStreamReader& xml);

// Throws a fault naming the part when the XML is not well-formed or the
// package stopped delivering it.
void CheckPartEnd(const QXmlStreamReader& xml, const QIODevice& device, const QString& part);

// Text with the _xHHHH_ escapes of characters XML cannot carry decoded.
QString DecodeEscapes(const QString& text);

// The value of the attribute of that local name, whatever its prefix.
QStringView Attribute(const QXmlStreamAttributes& attributes, QStringView localName);
