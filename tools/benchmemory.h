#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <functional>

#include <malloc.h>

// Memory as the system counts it: the rise of the peak resident size while
// a piece of work runs, the peak reset through /proc/self/clear_refs first.
// Memory freed before the work (a generated data set, earlier rounds) is
// handed back to the system first: left resident in the allocator's free
// lists, it would take the work's allocations without any rise.
namespace BenchMemory {

// A field of /proc/self/status in kilobytes (VmHWM, VmRSS), -1 if unknown.
inline qint64 statusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Sets the peak resident size back to the present one.
inline bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

struct Rise
{
    qint64 peakBytes = 0; // peak during the work over the resident size before it
    qint64 heldBytes = 0; // resident size after the work over that before it
    bool reset = false;   // false: the peak could not be reset, peakBytes is an upper bound
};

inline Rise measureRise(const std::function<void()> &work)
{
    Rise rise;
    malloc_trim(0);
    rise.reset = resetPeak();
    const qint64 before = statusKilobytes("VmRSS");
    work();
    rise.peakBytes = (statusKilobytes("VmHWM") - before) * 1024;
    rise.heldBytes = (statusKilobytes("VmRSS") - before) * 1024;
    return rise;
}

// "memory" as program, floor and ratio lines, the floor a size in bytes.
inline void printRise(const char *figure, const Rise &rise, const char *floorName, qint64 floorBytes,
                      const char *target)
{
    std::printf("%s\n", figure);
    std::printf("  program %10.1f MB   peak RSS rise (held after: %.1f MB)%s\n", rise.peakBytes / 1e6,
                rise.heldBytes / 1e6, rise.reset ? "" : "  [peak not reset: /proc/self/clear_refs refused]");
    std::printf("  floor   %10.1f MB   %s\n", floorBytes / 1e6, floorName);
    std::printf("  ratio   %10.2f x    target %s\n", double(rise.peakBytes) / double(floorBytes), target);
}

} // namespace BenchMemory
