#pragma once

#include <QString>
#include <optional>

// The text of a date cell, "yyyy-mm-dd" with " hh:mm:ss" when it has a time
// of day, from the text FreeXL gives ("YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or
// "HH:MM:SS"). None when the text is no date.
std::optional<QString> DateCellText(const QString& freexlText, bool date1904);
