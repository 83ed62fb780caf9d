#include "base/ValueText.h"

#include <QLocale>
#include <cmath>
#include <optional>

#include "base/TextUtil.h"

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

namespace {
// Rounding to 15 digits is slow for most numbers. Whole numbers are written
// as integers; a number whose shortest exact text has at most 15 digits is
// that text, since rounding to 15 digits gives the same digits. Outside the
// range where that text has no exponent, the rounding is done: none here.
std::optional<QString> ExactText(double d) {
    const double size = std::fabs(d);
    if (d == std::trunc(d) && size < 1e15) return QString::number(static_cast<qlonglong>(d));
    if (size >= 1e-4 && size < 1e15) {
        QString shortest = QString::number(d, 'f', QLocale::FloatingPointShortest);
        if (SignificantDigits(shortest) <= 15) return shortest;
    }
    return std::nullopt;
}
}  // namespace

QString NumberText(double d) {
    if (std::optional<QString> exact = ExactText(d)) return *exact;
    return QString::number(d, 'g', 15);
}

double NumberShown(double d) {
    // An exact text reads back as d; + 0.0 makes -0 the 0 its text "0" reads as.
    if (ExactText(d)) return d + 0.0;
    return Val(QString::number(d, 'g', 15));
}
