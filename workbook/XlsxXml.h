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

// Appends the character data up to the end of the element the reader is at
// the start of (elements inside it are left out) to `out`.
void AppendElementText(QXmlStreamReader& xml, QString& out);

// The text of a string item (<si> or <is>, the reader at its start): its
// <t>, or the <t> of each of its runs, without the phonetic runs.
QString RichText(QXmlStreamReader& xml);

// Text with the _xHHHH_ escapes of characters XML cannot carry decoded.
QString DecodeEscapes(const QString& text);

// The value of the attribute of that local name, whatever its prefix.
QStringView Attribute(const QXmlStreamAttributes& attributes, QStringView localName);
