#include "workbook/BiffText.h"

#include <QStringDecoder>
#include <algorithm>

#include "workbook/BiffRecords.h"

namespace {
// String flags: UTF-16 characters rather than their low bytes only; rich
// text runs and far-east data announced between the header and the characters.
constexpr quint8 kUtf16 = 0x01, kFarEast = 0x04, kRichText = 0x08;

// Appends up to missing characters from bytes; returns how many it appended.
qsizetype AppendChars(QString& text, QByteArrayView bytes, bool utf16, qsizetype missing) {
    const qsizetype count = qMin(missing, utf16 ? bytes.size() / 2 : bytes.size());
    text.reserve(text.size() + count);
    for (qsizetype i = 0; i < count; ++i)
        text.append(QChar(utf16 ? Biff::U16(bytes, 2 * i) : Biff::U8(bytes, i)));
    return count;
}

QByteArray DecoderName(quint16 codePage) {
    switch (codePage) {
        case 367:
            return "US-ASCII";
        case 10000:
        case 0x8000:  // Apple Roman as BIFF5 writers on the Mac mark it
            return "macintosh";
        case 0x8001:  // Windows' ANSI code page as BIFF5 writers mark it
            return "windows-1252";
        default:
            if (codePage >= 1250 && codePage <= 1258)
                return "windows-" + QByteArray::number(codePage);
            return "cp" + QByteArray::number(codePage);
    }
}

std::optional<QString> Decode(QByteArrayView bytes, const char* decoderName) {
    QStringDecoder decoder(decoderName);
    if (!decoder.isValid()) return std::nullopt;
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}
}  // namespace

std::optional<Biff8Text> ReadBiff8Text(QByteArrayView record) {
    if (record.size() < 3) return std::nullopt;
    const quint8 flags = Biff::U8(record, 2);
    qsizetype at = 3;
    if (flags & kRichText) at += 2;
    if (flags & kFarEast) at += 4;
    if (at > record.size()) return std::nullopt;
    Biff8Text text;
    text.missing = Biff::U16(record, 0);
    text.missing -= AppendChars(text.text, record.sliced(at), flags & kUtf16, text.missing);
    return text;
}

void ContinueBiff8Text(Biff8Text& text, QByteArrayView record) {
    if (record.isEmpty()) return;
    const bool utf16 = Biff::U8(record, 0) & kUtf16;
    text.missing -= AppendChars(text.text, record.sliced(1), utf16, text.missing);
}

std::optional<QString> CodePageText(QByteArrayView bytes, quint16 codePage) {
    if (codePage != 1200) return Decode(bytes, DecoderName(codePage).constData());
    // Code page 1200 is UTF-16, yet some writers of BIFF5 mark 8-bit texts
    // with it. 8-bit text has no zero byte, so read as UTF-16 it gives no
    // character below U+0100, mostly CJK; real UTF-16 gives one as soon as it
    // holds a digit, a space or a Latin letter. Anything else is Windows-1252.
    if (bytes.size() % 2 == 0) {
        const std::optional<QString> utf16 = Decode(bytes, "UTF-16LE");
        if (utf16 && std::any_of(utf16->cbegin(), utf16->cend(),
                                 [](QChar c) { return c.unicode() < 0x100; }))
            return utf16;
    }
    return Decode(bytes, "windows-1252");
}

QString ErrorCodeText(quint8 code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        default:
            return "#N/A";
    }
}
