#pragma once

#include <QColor>

// A colour written &HBBGGRR, as the form and the grid store it.
inline QColor FromBgr(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
