#include "base/SqlText.h"

namespace {
QString Enclosed(QChar open, const QString& text, QChar close) {
    QString out;
    out.reserve(text.size() + 2);
    out += open;
    for (const QChar c : text) {
        out += c;
        if (c == close) out += c;
    }
    out += close;
    return out;
}
}  // namespace

QString SqlLiteral(const QString& text) { return Enclosed(u'\'', text, u'\''); }

QString BracketName(const QString& name) { return Enclosed(u'[', name, u']'); }
