#pragma once

#include <QString>
#include <optional>

#include "workbook/NumberFormat.h"

// The text a serial day number is read as in a date or time format, whatever
// parts of it the format shows: "yyyy-mm-dd", with " hh:mm:ss" when there is
// a time of day (rounded to the second). Days count from 1904-01-01 as day
// 0, or in the 1900 date system from 1900-01-01 as day 1, with day 60 its
// "1900-02-29", a day that never was. A serial before day 1 counts back
// from 1899-12-30. None outside 0100-01-01 to 9999-12-31: such a value
// reads as the number it is.
std::optional<QString> SerialDateText(double serial, bool date1904);

// The text a serial day number is read as in an elapsed-time format of that
// kind (one of the elapsed kinds): the whole duration in its unit, then
// minutes and seconds ("36:00:00" for 1.5 days in hours, "2160:00" in
// minutes), rounded to the second, "-" before a negative one. None for a
// duration longer than the dates SerialDateText writes span.
std::optional<QString> ElapsedText(double serial, DateKind kind);
