// Times opening and reading a large sheet, .xls and .xlsx, beside the Python
// readers people compare with (xlrd, openpyxl), each in its own process so
// that its peak memory is its own.
//
//   reader_bench WORKDIR [ROWS]
//
// Makes WORKDIR/reader-ROWS.xls and .xlsx (bench/make_reader_workbooks.py,
// 65,535 rows unless told) unless they exist, times OpenBook + ReadSheet on
// each and the peer on the same file, prints one line a reader, and checks
// that `xlsload dump` reads both files as the same text.
//
//   reader_bench --read WORKBOOK
//
// The child run: prints seconds, peak resident MB and cells of one read.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <cstdio>

#include "workbook/Book.h"

namespace {

const QString kSource = XLSLOAD_SOURCE_DIR;

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

int ReadOnce(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    const auto book = OpenBook(path);
    const SheetTable table = book->ReadSheet(0);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 cells = qint64(table.rowCount + 1) * table.columns.size();
    std::printf("%.3f %.1f %lld\n", seconds, PeakMegabytes(), static_cast<long long>(cells));
    return 0;
}

QByteArray Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

struct Timing {
    double seconds = 0;
    double peakMb = 0;
    qint64 cells = 0;
};

Timing Parse(const QByteArray& line) {
    const QList<QByteArray> f = line.trimmed().split(' ');
    if (f.size() != 3) qFatal("unexpected timing line: %s", line.constData());
    return {f[0].toDouble(), f[1].toDouble(), f[2].toLongLong()};
}

void Report(const char* reader, const char* format, const Timing& t, double peerSeconds) {
    std::printf("%-10s %-5s %8.3f s %8.1f MB %9lld cells", reader, format, t.seconds, t.peakMb,
                static_cast<long long>(t.cells));
    if (peerSeconds > 0) std::printf("  %5.1fx the peer", peerSeconds / t.seconds);
    std::printf("\n");
    std::fflush(stdout);
}

void Compare(const QString& peer, const QString& path, const char* format) {
    const Timing ours = Parse(Run(QCoreApplication::applicationFilePath(), {"--read", path}));
    const Timing theirs =
        Parse(Run("/usr/bin/python3", {kSource + "/bench/peer_readers.py", peer, path}));
    Report("xlsload", format, ours, theirs.seconds);
    Report(qPrintable(peer), format, theirs, 0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "--read") return ReadOnce(args[2]);
    if (args.size() < 2 || args.size() > 3) {
        QTextStream(stderr) << "usage: reader_bench WORKDIR [ROWS]\n";
        return 2;
    }
    const QString rows = args.value(2, "65535");
    const QString base = args[1] + "/reader-" + rows;
    const QString xls = base + ".xls", xlsx = base + ".xlsx";
    if (!QFile::exists(xls) || !QFile::exists(xlsx))
        Run("/usr/bin/python3", {kSource + "/bench/make_reader_workbooks.py", rows, xls, xlsx});
    std::printf("%-10s %-5s %10s %11s %15s\n", "reader", "file", "open+read", "peak", "");
    Compare("xlrd", xls, "xls");
    Compare("openpyxl", xlsx, "xlsx");
    const QString cli = QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload";
    const bool same = Run(cli, {"dump", xls, "Items"}) == Run(cli, {"dump", xlsx, "Items"});
    std::printf("xlsload dump of the .xls and the .xlsx: %s\n", same ? "the same" : "DIFFERENT");
    return same ? 0 : 1;
}
