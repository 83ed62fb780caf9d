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
// A whole number written without an exponent.
bool IsWhole(double d) { return d == std::trunc(d) && std::fabs(d) < 1e15; }

// A number of whole hundredths under 1e13, a price or an amount, as that
// count: when a hundredth's text reads back as d it is d's shortest text,
// for no other text that short lies as near. None for other numbers.
std::optional<qlonglong> Hundredths(double d) {
    const double hundredths = std::round(d * 100);
    if (std::fabs(d) >= 1e13 || hundredths / 100 != d) return std::nullopt;
    return static_cast<qlonglong>(hundredths);
}

QString HundredthsText(qlonglong hundredths) {
    const qlonglong size = hundredths < 0 ? -hundredths : hundredths;
    const auto digit = [](qlonglong n) { return QChar(char16_t(u'0' + n)); };
    QString text = (hundredths < 0 ? QStringLiteral("-") : QString()) +
                   QString::number(size / 100) + u'.' + digit(size % 100 / 10);
    if (size % 10 != 0) text += digit(size % 10);
    return text;
}

// Rounding to 15 digits is slow for most numbers. Whole numbers are written
// as integers, hundredths as such; a number whose shortest exact text has
// at most 15 digits is that text, since rounding to 15 digits gives the
// same digits. Outside the range where that text has no exponent, the
// rounding is done: none here.
std::optional<QString> ExactText(double d) {
    if (IsWhole(d)) return QString::number(static_cast<qlonglong>(d));
    if (const std::optional<qlonglong> hundredths = Hundredths(d))
        return HundredthsText(*hundredths);
    if (const double size = std::fabs(d); size >= 1e-4 && size < 1e15) {
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
    if (IsWhole(d) || Hundredths(d) || ExactText(d)) return d + 0.0;
    return Val(QString::number(d, 'g', 15));
}
