#pragma once

#include <QString>
#include <optional>

// How a cell's number format shows a number: as a number, or as a date, a
// date with its time of day, or a time of day alone.
enum class DateKind { None, Date, DateTime, Time };

// The text a serial day number is read as when shown in a format of
// that kind: "yyyy-mm-dd", with " hh:mm:ss" when there is a time of day (the
// time rounded to the second). A date format leaves out the time, a time
// format the day. Days count from 1904-01-01 as day 0, or in the 1900 date
// system from 1900-01-01 as day 1, with day 60 its "1900-02-29", a day that
// never was. A serial before day 1 counts back from 1899-12-30. None outside
// 0100-01-01 to 9999-12-31: such a value reads as the number it is.
std::optional<QString> SerialDateText(double serial, DateKind kind, bool date1904);
