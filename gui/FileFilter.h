#pragma once

#include <QString>

// Turns an open-file filter written "Description|pattern;pattern|..." into
// Qt's "Description (pattern pattern);;...". A description that already ends
// in its own "(...)" keeps the patterns of the pattern part only.
QString QtFileFilter(const QString& filter);
