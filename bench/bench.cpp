// Times Verify and Start on generated MT_ITEM workbooks, through the same
// form model the window and the command line drive.
//
//   bench [--set-only] WORKDIR TARGET ROWS...
//
// For each ROWS: makes WORKDIR/items-ROWS.xls (14 columns, unique codes, a
// date and a long remark a row, a few rejected rows of each kind) unless it
// exists, empties the demo tables in TARGET, then times Verify, Start with
// new items, and Start again (every item updated), with the sheet written
// as a set; then Start with new items one record at a time beside it (not
// with --set-only, for a server far enough away that it would take an
// hour), and the statements each sent per 1,000 records. Prints one line a
// step with records per second. On an SQLite target it then times Start on
// tables without their secondary indexes, and, on the same workbook, the
// whole `xlsload verify` and `xlsload import` commands into a fresh
// database, and beside them pandas read_excel plus to_sql
// (bench/pandas_baseline.py), five rounds in turn, printing medians.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "database/DbConnection.h"
#include "database/DemoSchema.h"
#include "form/Minsert.h"
#include "form/RecordingOperator.h"

namespace {

const QList<QPair<QString, QString>> kMapping{
    {"Code", "ITEMCODE"},       {"Name", "ITEMNAME"},     {"Plu", "PLUCODE"},
    {"Desc", "POSDESCRIPTION"}, {"Uom", "UOM"},           {"Price", "UNITPRICE"},
    {"Cost", "UNITCOST"},       {"Type", "ITEMTYPE"},     {"Ref", "REFCODE"},
    {"Class", "CLASSCODE"},     {"Button", "BUTTONDESC"}, {"Rcp", "UNITPRICERCP"},
    {"Created", "DATECREATED"}, {"Remark", "REMARK"}};

QString Workbook(const QString& dir, int rows) {
    const QString path = dir + "/items-" + QString::number(rows) + ".xls";
    if (!QFile::exists(path)) {
        const int status = QProcess::execute(
            "/usr/bin/python3", {QString(XLSLOAD_SOURCE_DIR) + "/bench/make_bench_workbook.py",
                                 QString::number(rows), path});
        if (status != 0) qFatal("cannot make %s", qPrintable(path));
    }
    return path;
}

double Seconds(const std::function<void()>& step) {
    QElapsedTimer t;
    t.start();
    step();
    return t.nsecsElapsed() / 1e9;
}

void Report(const char* what, int rows, int records, double s) {
    std::printf("%-22s %6d rows  %8.3f s  %9.0f records/s\n", what, rows, s, records / s);
    std::fflush(stdout);
}

// Empties the demo tables of the target, creating them where missing.
void FreshDemoTables(const QString& target) {
    auto db = DbConnection::Connect(target, DbConnection::SqliteFile::Create);
    const Engine engine = db->SqlDialect().Kind();
    for (const QString& table : CreatedTables(SplitStatements(DemoSchemaDdl(engine))))
        db->Execute("Drop Table If Exists " + table);
    CreateDemoSchema(*db);
}

// Runs a program to its end and answers its output; fails the benchmark
// when the program fails (exit status 1 only means rows were rejected).
QByteArray RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() > 1)
        qFatal("%s failed: %s", qPrintable(program), p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

// Rounds of the whole commands and of pandas, taken in turn so that a
// slow spell of the machine falls on all three alike.
constexpr int kCommandRounds = 5;

double Median(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

// The whole commands as an operator runs them: open, map and Verify; then
// open, map, Verify and Start into a fresh database; and pandas reading the
// workbook and appending it (its own timing, without starting Python).
// Prints the median of each and the ratio of the medians.
void CommandAndPandas(const QString& dir, const QString& workbook, int rows, int records) {
    const QString db = dir + "/command.db";
    QStringList args{"--home", dir,       "--target", "sqlite:" + db, "--workbook",
                     workbook, "--sheet", "Items",    "--table",      "MT_ITEM"};
    for (const auto& [excel, till] : kMapping) args << "--map" << excel + "=" + till;
    const QString xlsload = QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload";
    const QRegularExpression pandasTotal("total ([0-9.]+) s");
    std::vector<double> verifying, importing, pandas;
    for (int round = 0; round < kCommandRounds; ++round) {
        QFile::remove(db);
        FreshDemoTables("sqlite:" + db);
        verifying.push_back(Seconds([&] { RunProgram(xlsload, QStringList{"verify"} + args); }));
        importing.push_back(Seconds(
            [&] { RunProgram(xlsload, QStringList{"import"} + args + QStringList{"--yes"}); }));
        const QString out = RunProgram("/usr/bin/python3",
                                       {QString(XLSLOAD_SOURCE_DIR) + "/bench/pandas_baseline.py",
                                        workbook, dir + "/pandas.db"});
        const QRegularExpressionMatch total = pandasTotal.match(out);
        if (!total.hasMatch()) qFatal("pandas printed no total: %s", qPrintable(out));
        pandas.push_back(total.captured(1).toDouble());
    }
    Report("xlsload verify command", rows, rows, Median(verifying));
    Report("xlsload import command", rows, records, Median(importing));
    Report("pandas read+to_sql", rows, rows, Median(pandas));
    std::printf("import command / pandas: %.2f (medians of %d rounds)\n",
                Median(importing) / Median(pandas), kCommandRounds);
    std::fflush(stdout);
}

// Drops the indexes SQLite's demo tables have beside their keys, as a till
// database may lack them.
void DropSecondaryIndexes(const QString& target) {
    auto db = DbConnection::Connect(target);
    const auto indexes =
        db->Open("Select name From sqlite_master Where type = 'index' And sql Is Not Null");
    QStringList names;
    for (; !indexes->Eof(); indexes->MoveNext()) names << indexes->Value(0).toString();
    for (const QString& name : names) db->Execute("Drop Index " + name);
}

// Start with new items on fresh tables; answers the seconds and the
// statements sent.
QPair<double, int> TimeNewItems(Minsert& form, const QString& target, bool asSet,
                                bool withoutIndexes = false) {
    FreshDemoTables(target);
    if (withoutIndexes) DropSecondaryIndexes(target);
    form.ConnectTarget(target);
    form.WriteSheetAsSet = asSet;
    const int before = form.SqlConnection->StatementCount();
    const double s = Seconds([&] { form.CStart_Click(); });
    return {s, form.SqlConnection->StatementCount() - before};
}

void Run(const QString& dir, const QString& target, int rows, bool setOnly) {
    FreshDemoTables(target);
    RecordingOperator op;
    Minsert form(op, dir);
    form.CheckExistFolder();
    form.LoadLCombo();
    form.ConnectTarget(target);
    const QString workbook = Workbook(dir, rows);
    const double open = Seconds([&] {
        form.ChooseWorkbook(workbook);
        form.ChooseSheet(form.LCombo[Minsert::kSheetList].items.value(0));
    });
    form.ChooseTable("MT_ITEM");
    for (const auto& [excel, till] : kMapping) form.MapColumn(excel, till);
    Report("open workbook", rows, rows, open);
    Report("verify", rows, rows, Seconds([&] { form.CVerify_Click(); }));
    const int good = form.TxtField[Minsert::kOkLines].text.toInt();
    op.yesNoAnswers = {true, true};
    Report("import (new items)", rows, good, Seconds([&] { form.CStart_Click(); }));
    Report("import (updates)", rows, good, Seconds([&] { form.CStart_Click(); }));
    op.yesNoAnswers = {true, true, true, true};
    const auto [setSeconds, setStatements] = TimeNewItems(form, target, true);
    Report("new items, as a set", rows, good, setSeconds);
    std::printf("statements per 1,000 records as a set: %.1f\n", setStatements * 1000.0 / good);
    if (!setOnly) {
        const auto [oneSeconds, oneStatements] = TimeNewItems(form, target, false);
        Report("new items, one by one", rows, good, oneSeconds);
        std::printf("statements per 1,000 records one by one: %.1f\n",
                    oneStatements * 1000.0 / good);
    }
    if (target.startsWith("sqlite:")) {
        const double bare = TimeNewItems(form, target, true, true).first;
        Report("new items, no indexes", rows, good, bare);
        std::printf("without secondary indexes: %.2f x the indexed time\n", bare / setSeconds);
    }
    if (!op.errors.isEmpty()) qFatal("%s", qPrintable(op.errors[0].ErrDescription));
    if (target.startsWith("sqlite:")) CommandAndPandas(dir, workbook, rows, good);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool setOnly = !args.isEmpty() && args[0] == "--set-only";
    if (setOnly) args.removeFirst();
    if (args.size() < 3) {
        QTextStream(stderr) << "usage: bench [--set-only] WORKDIR TARGET ROWS...\n";
        return 2;
    }
    for (const QString& rows : args.mid(2)) Run(args[0], args[1], rows.toInt(), setOnly);
    return 0;
}
