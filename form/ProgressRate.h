#pragma once

#include <QElapsedTimer>
#include <QString>

// How fast a pass goes through the sheet, from the progress texts it shows
// ("Insert Data... 300 of 1,000"): rows a second since the pass began.
class ProgressRate {
public:
    // Takes the pass's latest text; an empty text ends the pass.
    void Note(const QString& text);
    // Rows a second so far; 0 until rows have gone by.
    double RowsPerSecond() const { return rowsPerSecond_; }

private:
    qint64 startRows_ = -1;
    QElapsedTimer timer_;
    double rowsPerSecond_ = 0;
};

// "150 rows/s, 0:05 left" for done of total rows at that rate; empty
// without a rate.
QString RateText(qint64 done, qint64 total, double rowsPerSecond);
