#pragma once

#include <QElapsedTimer>

// Lets a long pass report its progress a few times a second instead of
// once per record: repainting per record costs more than the work.
class ProgressThrottle {
public:
    static constexpr qint64 kIntervalMs = 200;

    // True for the first call and then once per interval.
    bool Due() {
        if (timer_.isValid() && timer_.elapsed() < kIntervalMs) return false;
        timer_.start();
        return true;
    }

private:
    QElapsedTimer timer_;
};
