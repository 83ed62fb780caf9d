#include "form/CountText.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
const QLocale& Operators() {
    static const QLocale english(QLocale::English);
    return english;
}
}  // namespace

QString Grouped(qint64 n) { return Operators().toString(n); }

QString Rows(qint64 n) { return Grouped(n) + (n == 1 ? " row" : " rows"); }

QString ProgressText(const QString& step, qint64 position, qint64 count) {
    return step + " " + Grouped(position) + " of " + Grouped(count);
}

bool ReadProgress(const QString& text, qint64& position, qint64& count) {
    static const QRegularExpression kCount(R"(([\d,]+) of ([\d,]+)$)");
    const QRegularExpressionMatch m = kCount.match(text);
    if (!m.hasMatch()) return false;
    bool ok = false, okCount = false;
    position = Operators().toLongLong(m.captured(1), &ok);
    count = Operators().toLongLong(m.captured(2), &okCount);
    return ok && okCount;
}
