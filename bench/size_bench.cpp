// Times whole commands on a sheet of Excel's full size and on packed
// workbooks made to take all memory ("bombs"), with each command's peak
// memory, beside pandas on the full-size sheet.
//
//   size_bench WORKDIR
//
// Makes WORKDIR/items-1048575.xlsx (bench/make_bench_workbook.py: 14
// columns, distinct codes and remarks, a date a row) unless it exists;
// runs `xlsload verify` and `xlsload import` into a fresh SQLite file whose
// tables have no secondary indexes, then pandas read_excel + to_sql on the
// same file; then `xlsload columns` on each bomb. One line a run: seconds,
// peak resident MB, exit status and the last line of the messages.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "database/DbConnection.h"
#include "database/DemoSchema.h"

extern char** environ;

namespace {

const QString kSource = XLSLOAD_SOURCE_DIR;
const QString kXlsload = QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload";
constexpr int kFullRows = 1048575;

struct Measured {
    double seconds = 0;
    double peakMb = 0;
    int status = -1;
    QString lastMessage;
};

// Runs a program to its end in a child of its own, its messages to a file,
// and answers its time, its own peak memory and its exit status.
Measured RunMeasured(const QString& program, const QStringList& args, const QString& messages) {
    std::vector<QByteArray> owned{program.toLocal8Bit()};
    for (const QString& a : args) owned.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : owned) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    const QByteArray log = messages.toLocal8Bit();
    posix_spawn_file_actions_addopen(&files, 2, log.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0)
        qFatal("cannot start %s", argv[0]);
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    Measured m;
    m.seconds = timer.nsecsElapsed() / 1e9;
    m.peakMb = usage.ru_maxrss / 1024.0;
    m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
    QFile file(messages);
    if (file.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
        if (!lines.isEmpty()) m.lastMessage = lines.last().left(160);
    }
    return m;
}

void Report(const char* what, const Measured& m) {
    std::printf("%-34s %8.2f s  %7.0f MB peak  exit %d  %s\n", what, m.seconds, m.peakMb, m.status,
                qPrintable(m.lastMessage));
    std::fflush(stdout);
}

void RunPython(const QString& script, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start("/usr/bin/python3", QStringList{kSource + "/" + script} + args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(script), p.readAllStandardError().constData());
}

// The demo tables without the indexes beside their keys, as a till
// database may have them.
void FreshTablesWithoutIndexes(const QString& path) {
    QFile::remove(path);
    auto db = DbConnection::Connect("sqlite:" + path, DbConnection::SqliteFile::Create);
    CreateDemoSchema(*db);
    const auto indexes =
        db->Open("Select name From sqlite_master Where type = 'index' And sql Is Not Null");
    QStringList names;
    for (; !indexes->Eof(); indexes->MoveNext()) names << indexes->Value(0).toString();
    for (const QString& name : names) db->Execute("Drop Index " + name);
}

void FullSizeSheet(const QString& dir) {
    const QString workbook = dir + "/items-" + QString::number(kFullRows) + ".xlsx";
    if (!QFile::exists(workbook))
        RunPython("bench/make_bench_workbook.py", {QString::number(kFullRows), workbook});
    const QString db = dir + "/full.db";
    FreshTablesWithoutIndexes(db);
    QStringList args{"--home",  dir,     "--target", "sqlite:" + db, "--workbook", workbook,
                     "--sheet", "Items", "--table",  "MT_ITEM",      "--quiet"};
    const char* const mapping[] = {"Code=ITEMCODE",       "Name=ITEMNAME",     "Plu=PLUCODE",
                                   "Desc=POSDESCRIPTION", "Uom=UOM",           "Price=UNITPRICE",
                                   "Cost=UNITCOST",       "Type=ITEMTYPE",     "Ref=REFCODE",
                                   "Class=CLASSCODE",     "Button=BUTTONDESC", "Rcp=UNITPRICERCP",
                                   "Created=DATECREATED", "Remark=REMARK"};
    for (const char* m : mapping) args << "--map" << m;
    const QString log = dir + "/messages.txt";
    std::printf("== %d rows x 14 columns, .xlsx, SQLite without secondary indexes\n", kFullRows);
    Report("xlsload verify", RunMeasured(kXlsload, QStringList{"verify"} + args, log));
    Report("xlsload import", RunMeasured(kXlsload, QStringList{"import"} + args << "--yes", log));
    Report("pandas read_excel + to_sql",
           RunMeasured("/usr/bin/python3",
                       {kSource + "/bench/pandas_baseline.py", workbook, dir + "/pandas.db"}, log));
}

// A package part as pieces, each written count times (tests/support/write_package.py).
QJsonArray Pieces(std::initializer_list<std::pair<QString, qint64>> pieces) {
    QJsonArray parts;
    for (const auto& [text, count] : pieces) parts.append(QJsonArray{text, count});
    return parts;
}

void Bombs(const QString& dir) {
    const QString sheetStart = "<worksheet><sheetData><row r=\"1\">";
    const QString sheetEnd = "</row></sheetData></worksheet>";
    const struct {
        const char* name;
        QJsonValue sheet;
        QJsonValue shared;
    } bombs[] = {
        {"a cell of 10^9 characters",
         Pieces({{sheetStart + "<c r=\"A1\" t=\"inlineStr\"><is><t>", 1},
                 {"a", 1'000'000'000},
                 {"</t></is></c>" + sheetEnd, 1}}),
         {}},
        {"100,000 cells of 32,767 characters",
         Pieces({{"<worksheet><sheetData>", 1},
                 {"<row><c t=\"inlineStr\"><is><t>" + QString(32767, 'b') + "</t></is></c></row>",
                  100'000},
                 {"</sheetData></worksheet>", 1}}),
         {}},
        {"60 million shared strings", sheetStart + "<c t=\"s\"><v>0</v></c>" + sheetEnd,
         Pieces({{"<sst>", 1}, {"<si><t>a</t></si>", 60'000'000}, {"</sst>", 1}})},
        {"100 million cells",
         Pieces({{"<worksheet><sheetData>", 1},
                 {"<row>" + QString("<c><v>1</v></c>").repeated(100) + "</row>", 1'000'000},
                 {"</sheetData></worksheet>", 1}}),
         {}},
        {"two cells a million rows apart",
         Pieces({{"<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                  "<row r=\"1048576\"><c r=\"Q1048576\"><v>2</v></c></row>"
                  "</sheetData></worksheet>",
                  1}}),
         {}},
    };
    std::printf("== packed bombs: xlsload columns\n");
    for (const auto& bomb : bombs) {
        const QString path = dir + "/bomb-" + QString(bomb.name).replace(' ', '_') + ".xlsx";
        if (!QFile::exists(path)) {
            QJsonObject description{{"path", path}, {"sheet", bomb.sheet}};
            if (!bomb.shared.isNull()) description["sharedStrings"] = bomb.shared;
            RunPython("tests/support/write_package.py", {},
                      QJsonDocument(description).toJson(QJsonDocument::Compact));
        }
        std::printf("%s: %lld KB packed\n", bomb.name, QFile(path).size() / 1024);
        Report("  xlsload columns",
               RunMeasured(kXlsload, {"columns", path, "Sheet1"}, dir + "/messages.txt"));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: size_bench WORKDIR\n";
        return 2;
    }
    FullSizeSheet(args[0]);
    Bombs(args[0]);
    return 0;
}
