#include "workbook/NumberFormat.h"

namespace {
bool At(QStringView format, qsizetype i, QStringView word) {
    return format.sliced(i).startsWith(word, Qt::CaseInsensitive);
}

// The elapsed unit of a bracketed section ("h" of "[hh]"), or None when the
// section is a color, a condition, a locale or a currency.
DateKind ElapsedUnit(QStringView section) {
    if (section.isEmpty()) return DateKind::None;
    const QChar unit = section[0].toLower();
    for (const QChar c : section)
        if (c.toLower() != unit) return DateKind::None;
    if (unit == 'h') return DateKind::ElapsedHours;
    if (unit == 'm') return DateKind::ElapsedMinutes;
    if (unit == 's') return DateKind::ElapsedSeconds;
    return DateKind::None;
}
}  // namespace

DateKind FormatDateKind(QStringView format) {
    bool date = false;
    // The largest elapsed unit counts: "[h]:mm:ss" shows hours, then minutes.
    DateKind elapsed = DateKind::None;
    for (qsizetype i = 0; i < format.size(); ++i) {
        switch (format[i].toLower().unicode()) {
            case '"': {
                const qsizetype close = format.indexOf('"', i + 1);
                i = close < 0 ? format.size() : close;
                break;
            }
            case '\\':  // an escaped character
            case '_':   // padding as wide as the next character
            case '*':   // the next character repeated to fill the cell
                ++i;
                break;
            case '[': {
                qsizetype close = format.indexOf(']', i + 1);
                if (close < 0) close = format.size();
                const DateKind unit = ElapsedUnit(format.sliced(i + 1, close - i - 1));
                // The kinds run from hours to seconds.
                if (unit != DateKind::None && (elapsed == DateKind::None || unit < elapsed))
                    elapsed = unit;
                i = close;
                break;
            }
            case 'g':
                if (At(format, i, u"General")) i += 6;
                break;
            case 'a':
                // A time of day's half: its M and P are no month codes.
                if (At(format, i, u"AM/PM")) {
                    date = true;
                    i += 4;
                } else if (At(format, i, u"A/P")) {
                    date = true;
                    i += 2;
                }
                break;
            // Whether an "m" is a month or, beside an hour or a second, a
            // minute changes nothing here: either is a date or time code.
            case 'y':
            case 'm':
            case 'd':
            case 'h':
            case 's':
                date = true;
                break;
            default:
                break;
        }
    }
    if (elapsed != DateKind::None) return elapsed;
    return date ? DateKind::Date : DateKind::None;
}

DateKind BuiltInFormatKind(int id) {
    // 14 to 22 and 45 to 47 are the dates and times of every locale ("46" is
    // "[h]:mm:ss"); 27 to 36 and 50 to 58 those of the East Asian ones.
    if (id == 46) return DateKind::ElapsedHours;
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || id == 45 || id == 47 ||
        (id >= 50 && id <= 58))
        return DateKind::Date;
    return DateKind::None;
}
