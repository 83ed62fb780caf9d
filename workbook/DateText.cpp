#include "workbook/DateText.h"

#include <QDate>
#include <cmath>

#include "base/DateValue.h"

namespace {
constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
const QDate kFirst(100, 1, 1);
const QDate kLast(9999, 12, 31);

// Whether a serial's whole days are as many as the dates written span, or fewer.
bool InRange(double serial) {
    return std::isfinite(serial) &&
           std::fabs(std::trunc(serial)) <= kLast.toJulianDay() - kFirst.toJulianDay();
}

// Writes value as digits at text[at] on, at least that many of them with
// leading zeros; returns where the digits end. Written by hand: a format
// string costs more than the rest of reading the cell, and a sheet can hold
// a date a row.
int Put(char* text, int at, qint64 value, int digits) {
    int needed = 1;
    for (qint64 rest = value / 10; rest > 0; rest /= 10) ++needed;
    digits = qMax(digits, needed);
    for (int i = digits - 1; i >= 0; --i, value /= 10) text[at + i] = char('0' + value % 10);
    return at + digits;
}
}  // namespace

std::optional<QString> SerialDateText(double serial, bool date1904) {
    if (!InRange(serial)) return std::nullopt;
    // Whole days from day 0 and the time of that day, as OLE dates count
    // them: a negative serial goes back whole days, its fraction is still
    // the time of day.
    const double whole = std::trunc(serial);
    qint64 seconds = std::llround(std::fabs(serial - whole) * double(kSecondsPerDay));
    const qint64 days = qint64(whole) + seconds / kSecondsPerDay;
    seconds %= kSecondsPerDay;
    // Days 1 to 59 of the 1900 system as the spreadsheet shows them; day 60
    // shows as the 1900-02-29 that never was. A serial that names no day at
    // all (before day 1) shows as its distance from day 0, as it always has.
    const bool named = !date1904 && days >= 1 && days <= 60;
    const bool phantom = named && days == 60;
    const QDate date =
        named && !phantom ? *SerialDay(days, false) : SerialDayZero(date1904).addDays(days);
    if (date < kFirst || date > kLast) return std::nullopt;
    char text[19];
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    Put(text, 0, year, 4);
    text[4] = '-';
    Put(text, 5, month, 2);
    text[7] = '-';
    Put(text, 8, phantom ? 29 : day, 2);
    if (seconds == 0) return QString::fromLatin1(text, 10);
    text[10] = ' ';
    Put(text, 11, seconds / 3600, 2);
    text[13] = ':';
    Put(text, 14, seconds / 60 % 60, 2);
    text[16] = ':';
    Put(text, 17, seconds % 60, 2);
    return QString::fromLatin1(text, 19);
}

std::optional<QString> ElapsedText(double serial, DateKind kind) {
    if (!InRange(serial)) return std::nullopt;
    const qint64 seconds = std::llround(std::fabs(serial) * double(kSecondsPerDay));
    char text[32];
    int at = 0;
    if (serial < 0 && seconds > 0) text[at++] = '-';
    if (kind == DateKind::ElapsedSeconds)
        return QString::fromLatin1(text, Put(text, at, seconds, 1));
    if (kind == DateKind::ElapsedHours) {
        at = Put(text, at, seconds / 3600, 1);
        text[at++] = ':';
        at = Put(text, at, seconds / 60 % 60, 2);
    } else {
        at = Put(text, at, seconds / 60, 1);
    }
    text[at++] = ':';
    return QString::fromLatin1(text, Put(text, at, seconds % 60, 2));
}
