#include "workbook/DateText.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace {
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;

// The date a serial of 0 stands for: the day a time without date belongs to.
QDate DayZero(bool date1904) { return date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30); }
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
