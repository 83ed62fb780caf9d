#pragma once

#include <QString>
#include <QtGlobal>

// What reading a workbook may still take from memory, so that a sheet too
// large for the machine is refused with what it needs rather than read
// until the machine gives out.

// Bytes this process can still take: the least of what the machine has
// available, what its control group allows beyond what it uses, and the
// data and address-space limits set on the process beyond what it holds.
qint64 FreeMemory();

// Thrown where reading on would need more memory than is free.
struct MemoryShortfall {
    qint64 needed = 0;  // bytes the whole would take, as estimated
    qint64 free = 0;    // bytes that were free for it
};

// Throws a MemoryShortfall when `more` bytes would not fit in what is free
// (less a margin for the rest of the program), naming `total` as what the
// whole needs, what is held included.
void RequireMemory(qint64 more, qint64 total);

// Weighs a store as it grows against the memory free, each time it has
// grown by 16 MB: often enough to stop before the machine runs out, seldom
// enough to cost nothing.
class MemoryWatch {
public:
    static constexpr qint64 kStep = 16 * 1024 * 1024;
    // The store holds `held` bytes and may take `more` before the next
    // check; refuses as RequireMemory does when that would not fit.
    void Check(qint64 held, qint64 more) {
        if (held < next_) return;
        next_ = held + kStep;
        RequireMemory(more + kStep, held + more);
    }

private:
    qint64 next_ = 0;
};

// "too large for this machine (needs about N MB, M MB are free)"
QString ShortfallText(const MemoryShortfall& shortfall);
