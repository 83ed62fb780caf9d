#pragma once

#include <QString>

// Counts as the operator reads them.

// 6513 as "6,513".
QString Grouped(qint64 n);
// "1 row", "6,513 rows".
QString Rows(qint64 n);
// "Processing... 99,842 of 500,000": a step's progress through the sheet.
QString ProgressText(const QString& step, qint64 position, qint64 count);
// Reads back the position and count of a ProgressText; false for any other
// text.
bool ReadProgress(const QString& text, qint64& position, qint64& count);
