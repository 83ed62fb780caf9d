#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "base/CellError.h"

// A number as the program writes it as text: up to 15 significant digits,
// "." as decimal point whatever the locale ("1001", "12.5").
QString NumberText(double d);
// The number a sheet cell shows, NumberText(d) read back by Val: d itself
// where that text is exact, without writing and reading it.
double NumberShown(double d);

// A value as text: a null and an error cell as the empty text, a number as
// NumberText.
inline QString ValueText(const QVariant& v) {
    if (v.isNull()) return {};
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return NumberText(v.toDouble());
        case QMetaType::QDate:
            return v.toDate().toString("yyyy-MM-dd");
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            return d.time() == QTime(0, 0) ? d.toString("yyyy-MM-dd")
                                           : d.toString("yyyy-MM-dd HH:mm:ss");
        }
        default:
            return IsCellError(v) ? QString() : v.toString();
    }
}
