#include "DateText.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace {
// The date a serial of 0 stands for: the day a time without date belongs to.
QDate DayZero(bool date1904) { return date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30); }

// FreeXL writes 1900-system dates as the spreadsheet shows them, counting the
// phantom 1900-02-29; the workbook driver counted days from 1899-12-30
// without it, so every date before March 1900 is one day earlier there.
QDate DriverDate(int y, int m, int d, bool date1904) {
    if (date1904) return QDate(y, m, d);
    if (y == 1900 && m == 2 && d == 29) return QDate(1900, 2, 28);
    const QDate date(y, m, d);
    return date.isValid() && date < QDate(1900, 3, 1) ? date.addDays(-1) : date;
}
}  // namespace

std::optional<QString> DateCellText(const QString& freexlText, bool date1904) {
    static const QRegularExpression kDate(
        R"(^(\d{4})-(\d{2})-(\d{2})(?: (\d{2}):(\d{2}):(\d{2}))?$)");
    // Three empty groups give the time the group numbers it has in kDate.
    static const QRegularExpression kTime(R"(^()()()(\d{2}):(\d{2}):(\d{2})$)");
    QRegularExpressionMatch m = kDate.match(freexlText);
    if (!m.hasMatch()) m = kTime.match(freexlText);
    if (!m.hasMatch()) return std::nullopt;
    const auto number = [&m](int i) { return m.captured(i).toInt(); };
    const QDate date = m.capturedLength(1) > 0
                           ? DriverDate(number(1), number(2), number(3), date1904)
                           : DayZero(date1904);
    if (!date.isValid()) return std::nullopt;
    QString text = date.toString("yyyy-MM-dd");
    if (m.capturedLength(4) > 0) {
        const QTime time(number(4), number(5), number(6));
        if (!time.isValid()) return std::nullopt;
        if (time != QTime(0, 0)) text += time.toString(" HH:mm:ss");
    }
    return text;
}
