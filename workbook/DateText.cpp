#include "workbook/DateText.h"

#include <QCalendar>
#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace {
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// The date a serial of 0 stands for: the day a time without date belongs to.
QDate DayZero(bool date1904) { return date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30); }

// FreeXL writes the date of serial 1 as 1900-01-01 (1904-01-02) and counts on
// with a leap day in every fourth year, 1900 and 2100 included: it counts in
// the Julian calendar's months, so its texts are read back in that calendar.
QDate FreexlDayOne(bool date1904) {
    static const QCalendar julian(QCalendar::System::Julian);
    return date1904 ? QDate(1904, 1, 2, julian) : QDate(1900, 1, 1, julian);
}

std::optional<qint64> SecondsOfDay(int h, int m, int s) {
    // FreeXL rounds 23:59:59.5 and later up to 24:00:00.
    if (m > 59 || s > 59 || h > 24 || (h == 24 && (m > 0 || s > 0))) return std::nullopt;
    return h * 3600 + m * 60 + s;
}
}  // namespace

std::optional<QString> SerialDateText(double serial, DateKind kind, bool date1904) {
    static const QDate kFirst(100, 1, 1);
    static const QDate kLast(9999, 12, 31);
    if (kind == DateKind::None || !std::isfinite(serial)) return std::nullopt;
    // Whole days from day 0 and the time of that day, as OLE dates count
    // them: a negative serial goes back whole days, its fraction is still
    // the time of day.
    const double whole = std::trunc(serial);
    if (std::fabs(whole) > kLast.toJulianDay() - kFirst.toJulianDay()) return std::nullopt;
    qint64 seconds = kind == DateKind::Date
                         ? 0
                         : std::llround(std::fabs(serial - whole) * double(kSecondsPerDay));
    const qint64 days = (kind == DateKind::Time ? 0 : qint64(whole)) + seconds / kSecondsPerDay;
    seconds %= kSecondsPerDay;
    const QDate date = DayZero(date1904).addDays(days);
    if (date < kFirst || date > kLast) return std::nullopt;
    QString text = date.toString("yyyy-MM-dd");
    if (seconds > 0) text += QTime(0, 0).addSecs(int(seconds)).toString(" HH:mm:ss");
    return text;
}

std::optional<double> FreexlDateSerial(const QString& freexlText, bool date1904) {
    static const QCalendar julian(QCalendar::System::Julian);
    static const QRegularExpression kDate(
        R"(^(\d{4,7})-(\d{2})-(\d{2})(?: (\d{2}):(\d{2}):(\d{2}))?$)");
    // Three empty groups give the time the group numbers it has in kDate.
    static const QRegularExpression kTime(R"(^()()()(\d{2}):(\d{2}):(\d{2})$)");
    QRegularExpressionMatch m = kDate.match(freexlText);
    if (!m.hasMatch()) m = kTime.match(freexlText);
    if (!m.hasMatch()) return std::nullopt;
    const auto number = [&m](int i) { return m.captured(i).toInt(); };
    double serial = 0;
    if (m.capturedLength(1) > 0) {
        const QDate date(number(1), number(2), number(3), julian);
        if (!date.isValid()) return std::nullopt;
        serial = double(date.toJulianDay() - FreexlDayOne(date1904).toJulianDay() + 1);
    }
    if (m.capturedLength(4) > 0) {
        const std::optional<qint64> seconds = SecondsOfDay(number(4), number(5), number(6));
        if (!seconds) return std::nullopt;
        serial += double(*seconds) / double(kSecondsPerDay);
    }
    return serial;
}
