#include "workbook/DateText.h"

#include <QDate>
#include <cmath>

#include "base/DateValue.h"

namespace {
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
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
    // Days 1 to 59 of the 1900 system as the spreadsheet shows them; day 60
    // shows as the 1900-02-29 that never was. A serial that names no day at
    // all (before day 1) shows as its distance from day 0, as it always has.
    const bool named = !date1904 && kind != DateKind::Time && days >= 1 && days <= 60;
    const bool phantom = named && days == 60;
    const QDate date =
        named && !phantom ? *SerialDay(days, false) : SerialDayZero(date1904).addDays(days);
    if (date < kFirst || date > kLast) return std::nullopt;
    // Written by hand: a format string costs more than the rest of reading
    // the cell, and a sheet can hold a date a row.
    char text[19];
    const auto put = [&text](int at, qint64 value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) text[at + i] = char('0' + value % 10);
    };
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    put(0, year, 4);
    text[4] = '-';
    put(5, month, 2);
    text[7] = '-';
    put(8, phantom ? 29 : day, 2);
    if (seconds == 0) return QString::fromLatin1(text, 10);
    text[10] = ' ';
    put(11, seconds / 3600, 2);
    text[13] = ':';
    put(14, seconds / 60 % 60, 2);
    text[16] = ':';
    put(17, seconds % 60, 2);
    return QString::fromLatin1(text, 19);
}
