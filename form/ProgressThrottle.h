#pragma once

#include <QElapsedTimer>

// Lets a long pass report its progress a few times a second instead of
// once per record: repainting per record costs more than the work. A
// monotonic timer, not the wall clock: reading local time once a record
// cost a fifth of a second on a 65,535-row sheet.
class ProgressThrottle {
public:
    // intervalMs 0 reports every record.
    explicit ProgressThrottle(int intervalMs) : intervalMs_(intervalMs) {}

    // True for the first call and then once per interval.
    bool Due() {
        if (timer_.isValid() && timer_.elapsed() < intervalMs_) return false;
        timer_.start();
        return true;
    }

private:
    int intervalMs_;
    QElapsedTimer timer_;
};
