#pragma once

#include <QStringView>

// How a cell's number format shows a number: as a number, as a date and
// time (whatever parts of it the format shows, the cell holds the whole
// value), or as an elapsed duration counted in whole hours, minutes or
// seconds ("[h]:mm:ss", "[mm]:ss", "[ss]").
// The elapsed kinds run from the largest unit to the smallest.
enum class DateKind { None, Date, ElapsedHours, ElapsedMinutes, ElapsedSeconds };

// How a number format code shows numbers, by its own date and time codes:
// quoted and escaped text, padding and fill characters, and bracketed
// colors, conditions, locales and currencies are no codes; an elapsed code
// ("[h]") makes a duration, any other date or time code (y, m, d, h, s,
// AM/PM) a date. The rarer era codes (e, g, b) alone do not: a number
// taken for a date is lost, a date left a number is not.
DateKind FormatDateKind(QStringView format);

// How a number format built into the file formats shows numbers, by its id
// (the same in .xls and .xlsx); None for the ids that show numbers or that
// are not built in.
DateKind BuiltInFormatKind(int id);
