#include "base/ColumnValue.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/CellError.h"
#include "base/DateValue.h"
#include "base/ValueText.h"

namespace {

constexpr qint64 kSecondsPerDay = 24 * 60 * 60;
const QDate kFirstSheetDay(1900, 1, 1);

ColumnValue Refused(const QString& problem) { return {{}, problem}; }

bool IsText(const QVariant& v) { return v.typeId() == QMetaType::QString; }
bool IsNumber(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

// An empty cell, or a text of blanks alone.
bool IsBlank(const QVariant& cell) {
    if (cell.isNull()) return true;
    if (!IsText(cell)) return false;
    const QString text = cell.toString();
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

// The number a cell gives a number column: an empty cell 0, a number as the
// sheet shows it, a text the number it holds; none for any other text.
std::optional<double> NumberOf(const QVariant& cell) {
    if (IsBlank(cell)) return 0.0;
    if (IsNumber(cell)) return NumberShown(cell.toDouble());
    return NumberInText(ValueText(cell));
}

// The digits of a number's text that carry its value: without the zeros
// before the first other digit and after the last, and without its exponent.
int SignificantDigits(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c == u'e' || c == u'E') break;
        if (c.isDigit()) digits += c;
    }
    qsizetype first = 0, last = digits.size();
    while (first < last && digits[first] == u'0') ++first;
    while (last > first && digits[last - 1] == u'0') --last;
    return int(last - first);
}

// A sheet shows a number with 15 digits, and a double keeps no more.
constexpr int kDigitsKept = 15;

QString Bounds(const QString& lowest, const QString& highest) {
    return "is outside the column's range, " + lowest + " to " + highest;
}

// The whole numbers a column of an integer type holds.
struct WholeRange {
    qint64 lowest, highest;
};
WholeRange WholeRangeOf(int type) {
    switch (type) {
        case TypeCode::UnsignedTinyInt:
            return {0, 255};
        case TypeCode::TinyInt:
            return {-128, 127};
        case TypeCode::SmallInt:
            return {-32768, 32767};
        case TypeCode::Integer:
            return {-2147483648LL, 2147483647LL};
        default:
            return {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
    }
}

ColumnValue ToWhole(int type, double d) {
    if (d != std::trunc(d)) return Refused("is not a whole number");
    const WholeRange range = WholeRangeOf(type);
    // highest + 1 as a double is exact even for 64 bits, where highest is not.
    if (!(d >= double(range.lowest) && d < double(range.highest) + 1.0))
        return Refused(Bounds(QString::number(range.lowest), QString::number(range.highest)));
    return {qlonglong(d), {}};
}

ColumnValue ToBit(const QVariant& cell) {
    if (IsBlank(cell)) return {false, {}};
    if (IsNumber(cell)) {
        const double d = cell.toDouble();
        if (d == 0 || d == 1) return {d == 1, {}};
    } else {
        const QString text = ValueText(cell).trimmed();
        for (const char* word : {"1", "true"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return {true, {}};
        for (const char* word : {"0", "false"})
            if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return {false, {}};
    }
    return Refused("is not 0, 1, TRUE or FALSE");
}

// d rounded half away from zero to scale decimals, as the decimal digits
// it is shown in, not its binary value: 2.12345 gives 2.1235 as SQL Server
// rounds it, where the double below 2.12345 would give 2.1234.
double RoundedToScale(double d, int scale) {
    const double factor = std::pow(10.0, scale);
    if (const double scaled = d * factor;
        std::fabs(scaled) < 1e15 && std::round(scaled) / factor == d)
        return d;  // no more decimals than the scale, as prices mostly have
    QByteArray digits = QByteArray::number(std::fabs(d), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = digits.indexOf('.');
    if (point < 0 || digits.size() - point - 1 <= scale) return d;
    const bool up = digits[point + 1 + scale] >= '5';
    digits.truncate(scale == 0 ? point : point + 1 + scale);
    if (up) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0; --i) {
            if (digits[i] == '.') continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
        }
        if (i < 0) digits.prepend('1');
    }
    const double rounded = digits.toDouble();
    return d < 0 ? -rounded : rounded;
}

ColumnValue ToExact(const Field& column, double d) {
    const ColumnLimits& limits = column.limits;
    if (column.type == TypeCode::Currency) {
        // money, or smallmoney, whose ten digits the engine reports.
        const double highest = limits.precision == 10 ? 214748.3647 : 922337203685477.5807;
        const double rounded = RoundedToScale(d, 4);
        if (std::fabs(rounded) > highest)
            return Refused(
                Bounds(QString::number(-highest, 'f', 4), QString::number(highest, 'f', 4)));
        return {rounded, {}};
    }
    if (limits.precision <= 0) return {d, {}};
    const double rounded = RoundedToScale(d, limits.scale);
    const int wholeDigits = limits.precision - limits.scale;
    if (std::fabs(rounded) >= std::pow(10.0, wholeDigits))
        return Refused(
            QString("has more than %1 digits before the decimal point").arg(wholeDigits));
    return {rounded, {}};
}

ColumnValue ToReal(const Field& column, double d) {
    if (column.type == TypeCode::Single && std::fabs(d) > FLT_MAX)
        return Refused(Bounds(QString::number(-FLT_MAX), QString::number(FLT_MAX)));
    if (column.type == TypeCode::Double) return {d, {}};
    return ToExact(column, d);
}

// The moment a serial day number names: its day, and the time its fraction
// gives; a time column takes the time of day alone.
std::optional<QDateTime> SerialMoment(double serial, bool timeOnly) {
    const double whole = std::floor(serial);
    if (whole < 0 || whole > 3e6) return std::nullopt;  // 9999-12-31 is day 2958465
    qint64 seconds = std::llround((serial - whole) * double(kSecondsPerDay));
    const qint64 days = qint64(whole) + seconds / kSecondsPerDay;
    seconds %= kSecondsPerDay;
    const QTime time = QTime(0, 0).addSecs(int(seconds));
    if (timeOnly)
        return days == 0 ? std::optional(QDateTime(kTimeOnlyDate, time, Qt::UTC)) : std::nullopt;
    const std::optional<QDate> day = SerialDay(days, false);
    if (!day || day->year() > 9999) return std::nullopt;
    return QDateTime(*day, time, Qt::UTC);
}

ColumnValue ToDate(const Field& column, const QVariant& cell) {
    const ColumnLimits& limits = column.limits;
    if (IsBlank(cell))
        return limits.nullable ? ColumnValue{} : Refused("is empty, and the column needs a date");
    QDateTime when;
    if (cell.typeId() == QMetaType::QDateTime) {
        when = cell.toDateTime();
    } else if (cell.typeId() == QMetaType::QDate) {
        when = QDateTime(cell.toDate(), QTime(0, 0), Qt::UTC);
    } else if (IsNumber(cell)) {
        const std::optional<QDateTime> moment =
            SerialMoment(cell.toDouble(), column.type == TypeCode::DBTime);
        if (!moment) return Refused("is a serial day number that names no day");
        when = *moment;
    } else {
        when = ParseDate(ValueText(cell));
        if (!when.isValid()) return Refused("is not a date");
    }
    // A sheet's days begin on 1900-01-01: a date before it is a serial
    // that names no day (0 shows as 1899-12-30), or a time of day alone.
    if (column.type != TypeCode::DBTime && when.date() < kFirstSheetDay)
        return Refused("names no day: a sheet's days begin on 1900-01-01");
    if ((!limits.earliest.isNull() && when.date() < limits.earliest) ||
        (!limits.latest.isNull() && when.date() > limits.latest))
        return Refused(
            Bounds(limits.earliest.toString(Qt::ISODate), limits.latest.toString(Qt::ISODate)));
    return {when, {}};
}

ColumnValue ToText(const QVariant& cell) {
    QString text = ValueText(cell);
    if (text.contains(QChar(0)))
        return Refused("holds a NUL character (U+0000), which a text column cannot keep");
    return {std::move(text), {}};
}

}  // namespace

std::optional<double> NumberInText(const QString& text) {
    qsizetype i = 0, end = text.size();
    while (i < end && text[i].isSpace()) ++i;
    while (end > i && text[end - 1].isSpace()) --end;
    const qsizetype start = i;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < end && text[i] >= u'0' && text[i] <= u'9') ++i;
        return i > from;
    };
    if (i < end && (text[i] == u'+' || text[i] == u'-')) ++i;
    bool any = digits();
    if (i < end && text[i] == u'.') {
        ++i;
        any = digits() || any;
    }
    if (!any) return std::nullopt;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) ++i;
        if (!digits()) return std::nullopt;
    }
    if (i != end) return std::nullopt;
    bool ok = false;
    const double d = QStringView(text).mid(start, end - start).toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional(d) : std::nullopt;
}

ColumnValue ToColumn(const Field& column, const QVariant& cell) {
    if (IsCellError(cell))
        return Refused("is an error value (" + cell.value<CellError>().text + ")");
    if (IsNumber(cell) && !std::isfinite(cell.toDouble())) return Refused("is not a finite number");
    const int type = column.type;
    if (type == TypeCode::Boolean) return ToBit(cell);
    if (IsDateType(type)) return ToDate(column, cell);
    if (!IsIntegerType(type) && !IsRealType(type)) return ToText(cell);
    const std::optional<double> number = NumberOf(cell);
    if (!number) return Refused("is not a number");
    if (IsText(cell) && SignificantDigits(cell.toString()) > kDigitsKept)
        return Refused(QString("has more than the %1 digits a number keeps").arg(kDigitsKept));
    return IsIntegerType(type) ? ToWhole(type, *number) : ToReal(column, *number);
}
