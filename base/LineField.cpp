#include "base/LineField.h"

#include <algorithm>

namespace {
bool NeedsEscape(QChar c) {
    const char16_t u = c.unicode();
    return u == '\\' || u == '\t' || u == '\r' || u == '\n' || u == 0;
}
}  // namespace

QString LineField(const QString& text) {
    // Most values hold none of them: those are shared, not copied.
    if (std::none_of(text.begin(), text.end(), NeedsEscape)) return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '\\':
                out += u"\\\\";
                break;
            case '\t':
                out += u"\\t";
                break;
            case '\r':
                out += u"\\r";
                break;
            case '\n':
                out += u"\\n";
                break;
            case 0:
                out += u"\\0";
                break;
            default:
                out += c;
        }
    }
    return out;
}
