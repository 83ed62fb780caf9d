#pragma once

#include <QDateTime>
#include <functional>

// Injectable "now", so that the dated log file and the dates written by the
// import can be tested on a chosen day.
using Clock = std::function<QDateTime()>;

inline Clock SystemClock() {
    return [] { return QDateTime::currentDateTime(); };
}
