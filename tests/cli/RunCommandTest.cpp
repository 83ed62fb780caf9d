#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "TestWorkbook.h"

namespace {

struct Output {
    QStringList stdoutLines;
    QString stderrText;
    int exitCode = -1;
};

Output RunXlsload(const QStringList& args) {
    QProcess process;
    process.start(QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload", args);
    EXPECT_TRUE(process.waitForFinished(120000)) << args.join(' ').toStdString();
    Output out;
    out.stdoutLines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    if (out.stdoutLines.last().isEmpty()) out.stdoutLines.removeLast();
    out.stderrText = QString::fromUtf8(process.readAllStandardError());
    out.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return out;
}

// One run of the command: {home}, {target} and {workbook} in the arguments
// stand for the case's own program folder, SQLite file and workbook.
struct Step {
    QStringList args;
    QStringList stdoutLines;
    int exitCode;
    QString stderrHas;  // a text the messages must hold
};

struct Case {
    const char* name;
    QList<Step> steps;
};

QStringList Run(const QString& command, const QString& sheet, const QStringList& more) {
    return QStringList{command,      "--home",     "{home}",  "--target", "{target}",
                       "--workbook", "{workbook}", "--sheet", sheet} +
           more;
}

const QStringList kMapItems{"--table",       "MT_ITEM", "--map",
                            "Code=ITEMCODE", "--map",   "Name=ITEMNAME"};
const QStringList kCleanTotals{"Total Line 2", "Total OK Line 2", "Total Error Line 0"};
const QStringList kRejectedLines{"Total Line 4",
                                 "Total OK Line 1",
                                 "Total Error Line 3",
                                 "2\tDUPLICATEVALUE\tITEMCODE",
                                 "3\tDUPLICATEVALUE\tITEMCODE",
                                 "4\tSTRINGERROR\tITEMCODE"};

const Case kCases[] = {
    {"clean sheet", {{Run("verify", "Clean", kMapItems), kCleanTotals, 0, ""}}},
    {"clean import then again",
     {{Run("import", "Clean", kMapItems),
       kCleanTotals + QStringList{"Inserted 2", "Updated 0", "Skipped 0"}, 0,
       "Message: Insert Done."},
      {Run("import", "Clean", kMapItems),
       kCleanTotals + QStringList{"Inserted 0", "Updated 2", "Skipped 0"}, 0, ""}}},
    {"rejected rows", {{Run("verify", "Rejected", kMapItems), kRejectedLines, 1, ""}}},
    {"rejected rows, import without --yes",
     {{Run("import", "Rejected", kMapItems), kRejectedLines, 2, "give --yes"}}},
    {"rejected rows, import with --yes",
     {{Run("import", "Rejected", kMapItems + QStringList{"--yes"}),
       kRejectedLines + QStringList{"Inserted 1", "Updated 0", "Skipped 3"}, 1, ""}}},
    {"a --map naming no sheet column",
     {{Run("verify", "Clean", kMapItems + QStringList{"--map", "Price=UNITPRICE"}),
       {},
       2,
       "Cannot map \"Price=UNITPRICE\""}}},
    {"a refused connection",
     {{QStringList{"verify", "--home", "{home}", "--target", "sqlite:{home}/missing.db",
                   "--workbook", "{workbook}", "--sheet", "Clean"} +
           kMapItems,
       {},
       2,
       "missing.db"}}},
    {"a --timeout that is no number of seconds",
     {{Run("verify", "Clean", kMapItems + QStringList{"--timeout", "0"}),
       {},
       2,
       "--timeout needs a whole number of seconds above 0"},
      {Run("verify", "Clean", kMapItems + QStringList{"--timeout", "soon"}),
       {},
       2,
       "--timeout needs a whole number of seconds above 0"}}},
    {"an unknown table",
     {{Run("verify", "Clean", {"--table", "NO_SUCH_TABLE"}),
       {},
       2,
       "Table NO_SUCH_TABLE is not in the catalogue"}}},
    {"--save-match then --match",
     {{Run("verify", "Clean", kMapItems + QStringList{"--save-match", "items"}), kCleanTotals, 0,
       "Message: Save Completed."},
      {Run("verify", "Clean", {"--match", "items"}), kCleanTotals, 0, ""},
      {Run("verify", "Clean", kMapItems + QStringList{"--save-match", "items"}),
       {},
       2,
       "already exists: give --yes to replace it"},
      {Run("verify", "Clean", kMapItems + QStringList{"--save-match", "items", "--yes"}),
       kCleanTotals, 0, "Message: Save Completed."},
      {Run("verify", "Clean", {"--match", "nothing"}), {}, 2, "nothing.ini does not exist"}}},
};

TEST(RunCommandTest, ArgumentsGiveTheirOutputAndExitStatus) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString home = dir.path();
        const QString target = "sqlite:" + home + "/till.db";
        const QString workbook = home + "/EXCEL/Book.xls";
        ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
        WriteWorkbook(workbook, {{"Clean", {{"Code", "Name"}, {"A1", "Apple"}, {"B2", "Bread"}}},
                                 {"Rejected",
                                  {{"Code", "Name"},
                                   {"A1", "Apple"},
                                   {"A1", "Again"},
                                   {"C 3", "Cake"},
                                   {"D4", "Dates"}}}});
        ASSERT_EQ(RunXlsload({"init-db", target}).exitCode, 0);
        for (const Step& step : c.steps) {
            QStringList args;
            for (QString a : step.args)
                args << a.replace("{home}", home)
                            .replace("{target}", target)
                            .replace("{workbook}", workbook);
            SCOPED_TRACE(args.join(' ').toStdString());
            const Output out = RunXlsload(args);
            EXPECT_EQ(out.stdoutLines, step.stdoutLines);
            EXPECT_EQ(out.exitCode, step.exitCode) << out.stderrText.toStdString();
            EXPECT_TRUE(out.stderrText.contains(step.stderrHas)) << out.stderrText.toStdString();
        }
    }
}

}  // namespace
