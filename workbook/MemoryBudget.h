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
    qint64 free = 0;    // bytes that were free
};

// Throws a MemoryShortfall when `more` bytes would not fit in what is free,
// naming `total` as what the whole needs.
void RequireMemory(qint64 more, qint64 total);

// "too large for this machine (needs about N MB, M MB are free)"
QString ShortfallText(const MemoryShortfall& shortfall);
