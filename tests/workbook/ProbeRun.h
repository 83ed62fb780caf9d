#pragma once

#include <sys/resource.h>

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// A probe program run on one workbook in a child process under a time and a
// memory limit, so that a crash, a hang or a runaway allocation of a reader
// fails the test instead of taking the test program down.
struct ProbeRun {
    bool finished = false;  // false when the time limit ran out
    bool crashed = false;   // killed by a signal
    int status = 0;         // exit status
    QString output;
    QString errors;  // stderr: sanitizer reports and other complaints
};

inline ProbeRun RunProbe(const QString& program, const QString& file) {
    constexpr rlim_t kMemoryLimit = rlim_t(1) << 30;  // bytes of address space
    constexpr rlim_t kCpuSeconds = 20;
    constexpr int kWallMilliseconds = 30000;
    QProcess probe;
    probe.setChildProcessModifier([] {
        const rlimit cpu{kCpuSeconds, kCpuSeconds};
        setrlimit(RLIMIT_CPU, &cpu);
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer reserves terabytes of address space
        const rlimit memory{kMemoryLimit, kMemoryLimit};
        setrlimit(RLIMIT_AS, &memory);
#endif
    });
    probe.start(program, {file});
    ProbeRun run;
    run.finished = probe.waitForFinished(kWallMilliseconds);
    if (!run.finished) {
        probe.kill();
        probe.waitForFinished();
        return run;
    }
    run.crashed = probe.exitStatus() == QProcess::CrashExit;
    run.status = probe.exitCode();
    run.output = QString::fromUtf8(probe.readAllStandardOutput());
    run.errors = QString::fromUtf8(probe.readAllStandardError());
    return run;
}

// One worksheet a probe read: "sheet<TAB>name<TAB>records<TAB>digest".
struct SheetLine {
    QString name;
    QString records;
    QString digest;  // of the sheet's reference text, "-" when too large
};

// The sheet lines of a probe's output, in order.
inline QList<SheetLine> ProbeSheets(const QString& output) {
    QList<SheetLine> sheets;
    for (const QString& line : output.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        if (fields.size() == 4 && fields[0] == "sheet")
            sheets.append({fields[1], fields[2], fields[3]});
    }
    return sheets;
}
