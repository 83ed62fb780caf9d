#include "workbook/MemoryBudget.h"

#include <sys/resource.h>

#include <QFile>
#include <limits>
#include <optional>

namespace {
constexpr qint64 kMiB = 1024 * 1024;
// Left to the rest of the program (the database client, the window) and
// to what the estimate leaves out.
constexpr qint64 kHeadroom = 64 * kMiB;

// A "Name: value kB" line of a /proc file, in bytes; none when absent.
std::optional<qint64> ProcField(const char* path, QByteArrayView name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith(name) || line.size() <= name.size() || line[name.size()] != ':')
            continue;
        bool ok = false;
        const qint64 kb = line.mid(name.size() + 1).trimmed().split(' ').first().toLongLong(&ok);
        if (ok) return kb * 1024;
    }
    return std::nullopt;
}

// A number from a control-group file; none where it says "max" or is absent.
std::optional<qint64> CgroupValue(const char* path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    bool ok = false;
    const qint64 value = file.readAll().trimmed().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// What a resource limit leaves beyond what is held; none when unlimited.
std::optional<qint64> LimitLeft(int resource, std::optional<qint64> held) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || !held)
        return std::nullopt;
    return qint64(limit.rlim_cur) - *held;
}
}  // namespace

qint64 FreeMemory() {
    qint64 free =
        ProcField("/proc/meminfo", "MemAvailable").value_or(std::numeric_limits<qint64>::max());
    const auto least = [&free](std::optional<qint64> v) {
        if (v) free = qMin(free, *v);
    };
    const auto cgroupMax = CgroupValue("/sys/fs/cgroup/memory.max");
    const auto cgroupUsed = CgroupValue("/sys/fs/cgroup/memory.current");
    if (cgroupMax && cgroupUsed) least(*cgroupMax - *cgroupUsed);
    least(LimitLeft(RLIMIT_DATA, ProcField("/proc/self/status", "VmData")));
    least(LimitLeft(RLIMIT_AS, ProcField("/proc/self/status", "VmSize")));
    return qMax<qint64>(0, free);
}

void RequireMemory(qint64 more, qint64 total) {
    const qint64 usable = FreeMemory() - kHeadroom;
    if (more > usable) throw MemoryShortfall{qMax(total, more), qMax<qint64>(0, usable)};
}

QString ShortfallText(const MemoryShortfall& shortfall) {
    return QString("too large for this machine (needs about %1 MB, %2 MB are free)")
        .arg((shortfall.needed + kMiB - 1) / kMiB)
        .arg(shortfall.free / kMiB);
}
