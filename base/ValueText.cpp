#include "base/ValueText.h"

#include <QLocale>
#include <cmath>

namespace {
// Significant digits of a number written without exponent.
int SignificantDigits(const QString& text) {
    int digits = 0;
    bool leading = true;
    for (const QChar c : text) {
        if (!c.isDigit() || (leading && c == u'0')) continue;
        leading = false;
        ++digits;
    }
    return digits;
}
}  // namespace

// Rounding to 15 digits is slow for most numbers. Whole numbers are written
// as integers; a number whose shortest exact text has at most 15 digits is
// that text, since rounding to 15 digits gives the same digits. Outside the
// range where that text has no exponent, the rounding is done.
QString NumberText(double d) {
    const double size = std::fabs(d);
    if (d == std::trunc(d) && size < 1e15) return QString::number(static_cast<qlonglong>(d));
    if (size >= 1e-4 && size < 1e15) {
        const QString shortest = QString::number(d, 'f', QLocale::FloatingPointShortest);
        if (SignificantDigits(shortest) <= 15) return shortest;
    }
    return QString::number(d, 'g', 15);
}
