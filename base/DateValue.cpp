#include "base/DateValue.h"

#include <algorithm>

namespace {
// The digits of text from..from+count as a number; false when one is not
// a digit.
bool ReadDigits(const QString& text, qsizetype from, int count, int& n) {
    n = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return false;
        n = n * 10 + (c - u'0');
    }
    return true;
}

// "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss", the way dates are written out, read
// without Qt's format parser, which cost more than the rest of a row.
// Invalid when the text has another shape or is no day.
QDateTime ParseIsoDate(const QString& text) {
    if (text.size() != 10 && text.size() != 19) return {};
    int y, mo, d, h = 0, mi = 0, s = 0;
    if (text[4] != u'-' || text[7] != u'-' || !ReadDigits(text, 0, 4, y) ||
        !ReadDigits(text, 5, 2, mo) || !ReadDigits(text, 8, 2, d))
        return {};
    if (text.size() == 19 &&
        (text[10] != u' ' || text[13] != u':' || text[16] != u':' || !ReadDigits(text, 11, 2, h) ||
         !ReadDigits(text, 14, 2, mi) || !ReadDigits(text, 17, 2, s)))
        return {};
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    return date.isValid() && time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

}  // namespace

QDateTime ParseDate(const QString& raw) {
    const QString text = raw.trimmed();
    if (const QDateTime d = ParseIsoDate(text); d.isValid()) return d;
    const auto at =
        std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c == u' ' || c == u'T'; });
    const qsizetype gap = at == text.cend() ? -1 : at - text.cbegin();
    const QString datePart = gap < 0 ? text : text.left(gap);
    const QString timePart = gap < 0 ? QString() : text.mid(gap + 1);
    const QTime time = QTime::fromString(timePart.isEmpty() ? datePart : timePart, "HH:mm:ss");
    // A time alone would otherwise land on Qt's default day, 1900-01-01.
    if (timePart.isEmpty() && time.isValid()) return QDateTime(kTimeOnlyDate, time, Qt::UTC);
    for (const char* format : {"yyyy-MM-dd", "MM/dd/yyyy"}) {
        const QDate date = QDate::fromString(datePart, format);
        if (!date.isValid()) continue;
        if (timePart.isEmpty()) return QDateTime(date, QTime(0, 0), Qt::UTC);
        if (time.isValid()) return QDateTime(date, time, Qt::UTC);
    }
    return {};
}

QDate SerialDayZero(bool date1904) { return date1904 ? QDate(1904, 1, 1) : kTimeOnlyDate; }

std::optional<QDate> SerialDay(qint64 whole, bool date1904) {
    if (date1904)
        return whole >= 0 ? std::optional(SerialDayZero(true).addDays(whole)) : std::nullopt;
    if (whole < 1 || whole == 60) return std::nullopt;
    return SerialDayZero(false).addDays(whole < 60 ? whole + 1 : whole);
}
