#include "base/TextUtil.h"

#include <QVarLengthArray>
#include <algorithm>
#include <array>

const QString kInvalidDecrypt = QStringLiteral("Error: Invalid text to Decrypt");

namespace {
// Unicode of the codes 0x80..0x9F; the five codes Windows-1252 leaves
// undefined map to the control character of the same number, as Windows does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

int Cp1252Code(QChar c) {
    const char16_t u = c.unicode();
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == u) return 0x80 + i;
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    return '?';
}

QChar Cp1252Char(int code) {
    if (code >= 0x80 && code < 0xA0) return QChar(kHighControls[code - 0x80]);
    return QChar(static_cast<char16_t>(code));
}

bool CheckString(const QString& text) {
    for (QChar c : text)
        if (c == '"' || c == ' ' || c == '\'' || c == '#') return true;
    return false;
}

bool HasControlCharacter(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

QString Decrypt(const QString& stored) {
    if (stored.size() < 3) return kInvalidDecrypt;
    const int keys[4] = {Cp1252Code(stored[0]), Cp1252Code(stored[1]), Cp1252Code(stored[2]),
                         Cp1252Code(stored[stored.size() - 1])};
    QString plain;
    for (qsizetype pos = 3, i = 0; pos < stored.size() - 1; ++pos, ++i) {
        const int code = Cp1252Code(stored[pos]) - keys[i % 4];
        if (code < 0 || code > 255) return kInvalidDecrypt;
        plain += Cp1252Char(code);
    }
    return plain;
}

double Val(const QString& text) {
    // Only ASCII can be part of the number, so it is read into a byte buffer:
    // a character outside ASCII ends it like any other that cannot go on.
    QVarLengthArray<char, 64> s;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;
        if (c.unicode() >= 128) break;
        s.append(char(c.unicode()));
    }
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i > start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool any = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        any = digits() || any;
    }
    if (!any) return 0;
    const qsizetype mantissaEnd = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (!digits()) i = mantissaEnd;
    }
    if (mantissaEnd < i) s[mantissaEnd] = 'e';
    qsizetype end = i;
    if (mantissaEnd == i && s[end - 1] == '.') --end;
    // QString reads an overflow as infinity, as the sheet has always read it.
    return QString::fromLatin1(s.data(), end).toDouble();
}

QString ColumnKey(const QString& name) {
    // Names are mostly in that form already, and are asked for a column
    // of every row: an ASCII name without lower-case letters or blanks at
    // its ends is its own key.
    const bool edgesPrintable =
        name.isEmpty() || (name.front().unicode() > u' ' && name.back().unicode() > u' ');
    const bool asIs = edgesPrintable && std::all_of(name.cbegin(), name.cend(), [](QChar c) {
                          return c.unicode() < 0x80 && !(c >= u'a' && c <= u'z');
                      });
    return asIs ? name : name.trimmed().toUpper();
}
