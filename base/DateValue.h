#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The day a time of day without a date stands on.
inline const QDate kTimeOnlyDate(1899, 12, 30);

// A date written as text: "yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss" (either with a
// "T"), "MM/dd/yyyy" with or without a time, or a time "HH:mm:ss" alone, on
// kTimeOnlyDate. Invalid for any other text. Dates carry no time zone: they
// are built in UTC, which also spares a look-up of the local zone for every
// value read.
QDateTime ParseDate(const QString& text);

// The day a whole serial day number names, or none. Days count from
// 1904-01-01 as day 0, or in the 1900 date system from 1900-01-01 as day 1,
// with a 1900-02-29 that never was as day 60: days before it count from one
// day later, and 60 itself names no day. Nor does a serial before day 1 (day
// 0 of the 1904 system), which the spreadsheet shows as no date at all.
std::optional<QDate> SerialDay(qint64 whole, bool date1904);
// Day 0 of a date system, the day a time of day alone stands on.
QDate SerialDayZero(bool date1904);
