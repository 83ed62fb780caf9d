#pragma once

#include <QByteArrayView>
#include <QString>
#include <optional>

// Text fields of BIFF records.

// A BIFF8 string (character count, flags, characters) as far as its record
// holds it; missing counts the characters its CONTINUE records still add.
struct Biff8Text {
    QString text;
    qsizetype missing = 0;
};

// The string at the start of a record; none when the record is too short
// for the string's header.
std::optional<Biff8Text> ReadBiff8Text(QByteArrayView record);

// Adds what a CONTINUE record carries on: a flags byte, then characters.
void ContinueBiff8Text(Biff8Text& text, QByteArrayView record);

// An 8-bit text of a BIFF3 to BIFF7 record in the workbook's code page (the
// CODEPAGE record's number), or in Windows-1252 where the code page says
// UTF-16 (1200) of bytes that are none; none when that code page cannot be
// decoded or the bytes are not valid in it.
std::optional<QString> CodePageText(QByteArrayView bytes, quint16 codePage);

// The text Excel shows for the error code of a BOOLERR record or a formula
// result ("#DIV/0!" for 0x07); a code Excel does not use shows as "#N/A".
QString ErrorCodeText(quint8 code);
