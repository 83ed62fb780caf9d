#pragma once

#include <QDateTime>

#include "base/Clock.h"

// Lets a long pass report its progress a few times a second instead of
// once per record: repainting per record costs more than the work. It reads
// the form's clock, so that a test can have every record reported.
class ProgressThrottle {
public:
    static constexpr qint64 kIntervalMs = 200;

    explicit ProgressThrottle(Clock clock) : clock_(std::move(clock)) {}

    // True for the first call and then once per interval.
    bool Due() {
        const QDateTime now = clock_();
        if (last_.isValid() && last_.msecsTo(now) < kIntervalMs) return false;
        last_ = now;
        return true;
    }

private:
    Clock clock_;
    QDateTime last_;
};
