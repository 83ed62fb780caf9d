#pragma once

#include <QString>
#include <QVariant>
#include <optional>

#include "base/Field.h"

// A sheet cell as a target column stores it, or why the column cannot hold
// it exactly. These are the one set of rules behind Verify's "Not A Valid
// Value" and Start's conversion: what Verify accepts, Start writes as this
// value, and nothing is cut, rounded away or read as 0 without a word.
struct ColumnValue {
    QVariant value;   // the value to store, when problem is empty
    QString problem;  // what is wrong with the cell, to follow its text: "is not a number"
};

// The rules by kind of column:
// - any column: an error cell, or a number that is not finite, is refused;
// - whole numbers: a number (a text holding one counts: blanks around it, a
//   sign, a point, an exponent, nothing else, and no more than the 15
//   digits a sheet's number keeps) without fraction, within the column's
//   range; an empty cell is 0;
// - bit: 0, 1, TRUE or FALSE; an empty cell is FALSE;
// - exact numbers and money: a number rounded half away from zero to the
//   column's scale whose whole digits fit; floats: a number in range; an
//   empty cell is 0;
// - dates: a date, a date text, or a serial day number that names a day,
//   from 1900-01-01 on and within the column's days; a time column takes a
//   time of day alone; an empty cell is null, where the column takes one;
// - text: the cell's text, without a NUL character.
ColumnValue ToColumn(const Field& column, const QVariant& cell);

// The number a text holds, when all of it is one number: blanks around it,
// a sign, a decimal point and an exponent, nothing else ("1,234", "$3",
// "12abc" and "inf" hold none).
std::optional<double> NumberInText(const QString& text);
