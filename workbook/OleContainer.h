#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What a compound document (OLE2) holds of a workbook, read with libgsf,
// which tolerates the damaged sector chains other writers leave behind.
struct OleStreams {
    std::optional<QByteArray> workbook;  // the "Workbook" or "Book" stream, any letter case
    bool encryptedPackage = false;       // an encrypted .xlsx wrapped in a compound document
};

// Reads the file's root streams; none when libgsf cannot read the compound
// document, with its reason in why.
std::optional<OleStreams> ReadOleStreams(const QByteArray& file, QString& why);
