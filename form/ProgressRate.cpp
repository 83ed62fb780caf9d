#include "form/ProgressRate.h"

#include <cmath>

#include "form/CountText.h"

namespace {

// "0:07", "12:30", "1:02:03".
QString Duration(qint64 seconds) {
    const QString minutesSeconds =
        QString("%1:%2").arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QChar('0'));
    if (seconds < 3600) return minutesSeconds;
    return QString::number(seconds / 3600) + ":" + minutesSeconds.rightJustified(5, '0');
}

}  // namespace

void ProgressRate::Note(const QString& text) {
    qint64 done = 0, total = 0;
    if (!ReadProgress(text, done, total)) {
        if (text.isEmpty()) startRows_ = -1;
        rowsPerSecond_ = 0;
        return;
    }
    // A count lower than the last starts a new pass.
    if (startRows_ < 0 || done < startRows_) {
        startRows_ = done;
        timer_.start();
    }
    const qint64 ms = timer_.elapsed();
    rowsPerSecond_ = ms > 0 ? (done - startRows_) * 1000.0 / ms : 0;
}

QString RateText(qint64 done, qint64 total, double rowsPerSecond) {
    if (rowsPerSecond <= 0) return {};
    const auto left = static_cast<qint64>(std::ceil((total - done) / rowsPerSecond));
    return QString::number(qRound64(rowsPerSecond)) + " rows/s, " + Duration(left) + " left";
}
