#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "HostileNames.h"
#include "QStringPrinter.h"
#include "TestWorkbook.h"
#include "base/LineField.h"
#include "database/DbConnection.h"

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

// A file the case writes into EXCEL of its program folder first.
struct File {
    const char* name;
    const char* text;
};

struct Case {
    const char* name;
    QList<Step> steps;
    QList<File> files = {};
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
       "Message: Cannot map \"Price=UNITPRICE\": sheet Clean has no Excel field Price !!!"}}},
    {"--map mistakes name the column and the field",
     {{Run("import", "Values", kMapItems + QStringList{"--map", "Price=NOSUCH", "--yes"}),
       {},
       2,
       "Message: Cannot map \"Price=NOSUCH\": NOSUCH is not a TILL field of MT_ITEM (Excel field "
       "Price) !!!"},
      {Run("verify", "Values", kMapItems + QStringList{"--map", "Price=ITEMNAME"}),
       {},
       2,
       "Message: Cannot map \"Price=ITEMNAME\": TILL field ITEMNAME is mapped from two Excel "
       "fields, Name and Price !!!"},
      {Run("verify", "Values", kMapItems + QStringList{"--map", "Price"}),
       {},
       2,
       "Message: Cannot map \"Price\": write it as EXCEL FIELD=TILL FIELD !!!"},
      // Blanks around either name, and the field's letter case, are no mistake.
      {Run("verify", "Values", kMapItems + QStringList{"--map", " Price = unitprice "}),
       {"Total Line 2", "Total OK Line 1", "Total Error Line 1", "2\tINVALIDVALUE\tUNITPRICE"},
       1,
       ""}}},
    {"a match file is applied whole or not at all",
     {{Run("import", "Clean", {"--match", "old", "--table", "MT_ITEM", "--yes"}),
       {},
       2,
       "EXCEL/old.ini names the table \"MT_ITEMS_OLD\", which is not in the catalogue: the file "
       "was not applied !!!"},
      {Run("verify", "Clean", {"--match", "unknown"}),
       {},
       2,
       "EXCEL/unknown.ini was not applied: NOSUCH is not a TILL field of MT_ITEM (Excel field "
       "Name) !!!"},
      {Run("verify", "Clean", {"--match", "twice"}),
       {},
       2,
       "EXCEL/twice.ini was not applied: TILL field ITEMCODE is mapped from two Excel fields, "
       "Code and Name !!!"},
      {Run("import", "Clean", {"--match", "spaced"}),
       kCleanTotals + QStringList{"Inserted 2", "Updated 0", "Skipped 0"}, 0,
       "Message: Insert Done."}},
     {{"old.ini",
       "[MatchField]\r\nTableName='MT_ITEMS_OLD'\r\nField_1='ITEMCODE'\r\n"
       "Field_2='ITEMNAME'\r\n"},
      {"unknown.ini",
       "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2='NOSUCH'\r\n"},
      {"twice.ini",
       "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2=' itemcode'\r\n"},
      {"spaced.ini",
       "[MatchField]\r\nTableName=' mt_item '\r\nField_1=' itemcode '\r\n"
       "Field_2='ItemName'\r\n"}}},
    {"password options",
     {{QStringList{"verify", "--home", "{home}", "--server", "127.0.0.1,1", "--database", "till",
                   "--user", "sa", "--password-file", "{home}/missing.txt", "--workbook",
                   "{workbook}", "--sheet", "Clean"},
       {},
       2,
       "xlsload: cannot read the password file {home}/missing.txt"},
      {QStringList{"verify", "--home", "{home}", "--server", "127.0.0.1,1", "--database", "till",
                   "--user", "sa", "--password-file", "{home}/EXCEL", "--workbook", "{workbook}",
                   "--sheet", "Clean"},
       {},
       2,
       "xlsload: cannot read the password file {home}/EXCEL"},
      {QStringList{"verify", "--home", "{home}", "--server", "127.0.0.1,1", "--database", "till",
                   "--user", "sa", "--password", "pw", "--password-file", "{home}/pw.txt",
                   "--workbook", "{workbook}", "--sheet", "Clean"},
       {},
       2,
       "xlsload: give the password once: --password or --password-file"},
      {Run("verify", "Clean", kMapItems + QStringList{"--password", "pw"}),
       {},
       2,
       "xlsload: --password and --password-file go with --server/--database/--user or with an "
       "odbc: --target that has no Pwd="}}},
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
    {"a match file on a sheet of other columns",
     {{Run("verify", "Clean", kMapItems + QStringList{"--save-match", "items"}), kCleanTotals, 0,
       ""},
      {Run("verify", "Other", {"--match", "items"}), kCleanTotals, 0,
       "Message: The sheet's columns differ from those the match file items was saved with: "
       "columns were matched by name. Not in the match file, left unmapped: 'Remark'.\n"},
      {Run("verify", "Other", {"--match", "items", "--strict-match"}),
       {},
       2,
       "Message: Match file items does not fit sheet Other: refused by --strict-match !!!"},
      {Run("verify", "Clean", {"--match", "items", "--strict-match"}), kCleanTotals, 0, ""}}},
    {"--summary json",
     {{Run("verify", "Rejected", kMapItems + QStringList{"--summary", "json"}),
       {R"({"errors":3,"ok":1,"rejected":[)"
        R"({"column":"ITEMCODE","row":2,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":3,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":4,"verdict":"STRINGERROR"}],"total":4})"},
       1,
       ""},
      {Run("import", "Rejected", kMapItems + QStringList{"--summary", "json", "--yes"}),
       {R"({"errors":3,"inserted":1,"ok":1,"rejected":[)"
        R"({"column":"ITEMCODE","row":2,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":3,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":4,"verdict":"STRINGERROR"}],)"
        R"("skipped":3,"total":4,"updated":0})"},
       1,
       ""},
      // Refused before Start: the document has no counts.
      {Run("import", "Rejected", kMapItems + QStringList{"--summary", "json"}),
       {R"({"errors":3,"ok":1,"rejected":[)"
        R"({"column":"ITEMCODE","row":2,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":3,"verdict":"DUPLICATEVALUE"},)"
        R"({"column":"ITEMCODE","row":4,"verdict":"STRINGERROR"}],"total":4})"},
       2,
       "give --yes"},
      {Run("verify", "Clean", kMapItems + QStringList{"--summary", "xml"}),
       {},
       2,
       "--summary needs text or json"}}},
    {"a value its column cannot hold",
     {{Run("verify", "Values", kMapItems + QStringList{"--map", "Price=UNITPRICE"}),
       {"Total Line 2", "Total OK Line 1", "Total Error Line 1", "2\tINVALIDVALUE\tUNITPRICE"},
       1,
       ""},
      {Run("import", "Values",
           kMapItems + QStringList{"--map", "Price=UNITPRICE", "--summary", "json", "--yes"}),
       {R"({"errors":1,"inserted":1,"ok":1,"rejected":[)"
        R"({"column":"UNITPRICE","row":2,"verdict":"INVALIDVALUE"}],)"
        R"("skipped":1,"total":2,"updated":0})"},
       1,
       "Message: Insert Done."}}},
};

// A program folder of its own holding EXCEL/Book.xls, with an empty demo
// till database beside it.
class Scratch {
public:
    void SetUp() {
        ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
        WriteWorkbook(
            workbook,
            {{"Clean", {{"Code", "Name"}, {"A1", "Apple"}, {"B2", "Bread"}}},
             {"Rejected",
              {{"Code", "Name"},
               {"A1", "Apple"},
               {"A1", "Again"},
               {"C 3", "Cake"},
               {"D4", "Dates"}}},
             {"Other",
              {{"Name", "code ", "Remark"}, {"Apple", "A1", "red"}, {"Bread", "B2", "brown"}}},
             {"Values",
              {{"Code", "Name", "Price"}, {"A1", "Apple", "$3.50"}, {"B2", "Bread", 2.5}}}});
        ASSERT_EQ(RunXlsload({"init-db", target}).exitCode, 0);
    }

    // The arguments with {home}, {target} and {workbook} filled in.
    QStringList Args(const QStringList& args) const {
        QStringList filled;
        for (QString a : args)
            filled << a.replace("{home}", home)
                          .replace("{target}", target)
                          .replace("{workbook}", workbook);
        return filled;
    }

private:
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString target = "sqlite:" + home + "/till.db";
    const QString workbook = home + "/EXCEL/Book.xls";
};

TEST(RunCommandTest, ArgumentsGiveTheirOutputAndExitStatus) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Scratch scratch;
        ASSERT_NO_FATAL_FAILURE(scratch.SetUp());
        for (const File& file : c.files) {
            QFile f(scratch.Args({"{home}/EXCEL/"})[0] + file.name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(file.text);
        }
        for (const Step& step : c.steps) {
            const QStringList args = scratch.Args(step.args);
            SCOPED_TRACE(args.join(' ').toStdString());
            const Output out = RunXlsload(args);
            EXPECT_EQ(out.stdoutLines, step.stdoutLines);
            EXPECT_EQ(out.exitCode, step.exitCode) << out.stderrText.toStdString();
            EXPECT_TRUE(out.stderrText.contains(scratch.Args({step.stderrHas})[0]))
                << out.stderrText.toStdString();
        }
    }
}

// A verdict file is never written through a link left in EXCEL: the run
// fails naming the file, and the file the link names stays as it was.
TEST(RunCommandTest, AVerdictFileThatIsALinkFailsTheRun) {
    Scratch scratch;
    ASSERT_NO_FATAL_FAILURE(scratch.SetUp());
    const QString link = scratch.Args({"{home}/EXCEL/Book_Migrate_OK.txt"})[0];
    const QString target = scratch.Args({"{home}/elsewhere.txt"})[0];
    ASSERT_TRUE(QFile::link(target, link));
    const Output out = RunXlsload(scratch.Args(::Run("verify", "Clean", kMapItems)));
    EXPECT_EQ(out.exitCode, 2);
    EXPECT_TRUE(out.stderrText.contains(link + " could not be written: it is a symbolic link"))
        << out.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(target));
}

TEST(RunCommandTest, ProgressIsShownOnATerminalOnly) {
    Scratch scratch;
    ASSERT_NO_FATAL_FAILURE(scratch.SetUp());
    const QStringList import = scratch.Args(::Run("import", "Clean", kMapItems));
    // A pipe gets the messages and nothing more.
    EXPECT_EQ(RunXlsload(import).stderrText, "Message: No Error Found.\nMessage: Insert Done.\n");

    const QString script = QStandardPaths::findExecutable("script");
    if (script.isEmpty()) GTEST_SKIP() << "util-linux's script is not installed";
    // Everything the program writes to a terminal of its own.
    const auto onTerminal = [&](const QStringList& args) {
        QStringList command{"'" + QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload'"};
        for (const QString& a : args) command << "'" + a + "'";
        QProcess process;
        process.start(script, {"-qec", command.join(' '), "/dev/null"});
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString shown = onTerminal(import);
    EXPECT_TRUE(shown.contains("\rProcessing... 1 of 2 [##########----------]"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("\rInsert Data... 1 of 2 [##########----------]"))
        << shown.toStdString();
    const QString quiet = onTerminal(import + QStringList{"--quiet"});
    EXPECT_TRUE(quiet.contains("Message: Insert Done.")) << quiet.toStdString();
    EXPECT_FALSE(quiet.contains(" of 2")) << quiet.toStdString();
}

// Another program writing the SQLite file is waited for: the import starts
// while another connection holds the write lock, and finishes once it is
// released; one that holds it past --timeout fails the import, naming the wait.
TEST(RunCommandTest, AnImportWaitsForAnotherWriterOfTheSqliteFile) {
    const struct {
        const char* name;
        QStringList more;
        bool released;  // after 1.5 s of Start; else held until the import ends
        QStringList stdoutLines;
        int exitCode;
        QString stderrHas;
    } kCases[] = {
        {"released while waited for",
         {},
         true,
         kCleanTotals + QStringList{"Inserted 2", "Updated 0", "Skipped 0"},
         0,
         "Message: Insert Done."},
        {"held past --timeout",
         {"--timeout", "1"},
         false,
         kCleanTotals,
         2,
         "Row 2 of the sheet: The statement timed out waiting for another connection to "
         "release its lock on the database file (1 s)."},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        Scratch scratch;
        ASSERT_NO_FATAL_FAILURE(scratch.SetUp());
        const auto writer = DbConnection::Connect(scratch.Args({"{target}"})[0]);
        QProcess import;
        import.setReadChannel(QProcess::StandardError);
        QString err;
        writer->RunInTransaction([&] {
            writer->Execute("Insert Into MT_CLASS (CLASSTYPECODE, CLASSCODE) Values ('T', 'C')");
            import.start(QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload",
                         scratch.Args(::Run("import", "Clean", kMapItems + c.more)));
            // Start begins once Verify has told its result.
            while (!err.contains("No Error Found.") && import.waitForReadyRead(120000))
                err += QString::fromUtf8(import.readAllStandardError());
            if (c.released)
                QThread::msleep(1500);
            else
                import.waitForFinished(120000);
        });
        import.waitForFinished(120000);
        ASSERT_EQ(import.state(), QProcess::NotRunning);
        QStringList lines = QString::fromUtf8(import.readAllStandardOutput()).split('\n');
        lines.removeAll("");
        EXPECT_EQ(lines, c.stdoutLines);
        EXPECT_EQ(import.exitCode(), c.exitCode);
        err += QString::fromUtf8(import.readAllStandardError());
        EXPECT_TRUE(err.contains(c.stderrHas)) << err.toStdString();
    }
}

// Names that would end a statement's quotes early, on the command line
// (where no argument holds a NUL): a sheet of that name is listed, dumped
// and imported, a header of that name mapped by --map fills its own column
// only, and a --map naming it as the TILL field finds no such column. The
// bad rows' lines keep a name's characters readable, as the dump does.
TEST(RunCommandTest, HostileNamesAsSheetsHeadersAndMapValues) {
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString target = "sqlite:" + home + "/till.db";
    const QString workbook = home + "/EXCEL/Book.xlsx";
    ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
    ASSERT_EQ(RunXlsload({"init-db", target}).exitCode, 0);
    const auto sheetOf = [](int i) {
        const QString& name = HostileNames()[i].name;
        return CanNameASheet(name) ? name : "Sheet " + QString::number(i);
    };
    QList<TestSheet> sheets{{"SB", {{"Item Name", "Secret", "Name"}, {"SB1", "SB2", "Decoy"}}}};
    for (int i = 0; i < HostileNames().size(); ++i)
        sheets << TestSheet{sheetOf(i),
                            {{HostileNames()[i].name, "Item Name", "Secret", "Name"},
                             {"C" + QString::number(i), "wrong", "wrong", "Apple"}}};
    WriteWorkbook(workbook, sheets);
    const QStringList listed = RunXlsload({"sheets", workbook}).stdoutLines;
    QStringList codes;
    for (int i = 0; i < HostileNames().size(); ++i) {
        const HostileName& hostile = HostileNames()[i];
        SCOPED_TRACE(hostile.what);
        if (hostile.name.contains(QChar(0))) continue;
        const QString code = "C" + QString::number(i);
        EXPECT_EQ(listed.value(i + 1), LineField(sheetOf(i)));
        const Output dumped = RunXlsload({"dump", workbook, sheetOf(i)});
        EXPECT_EQ(dumped.stdoutLines, (QStringList{LineField(HeaderAsRead(hostile.name, 1)) +
                                                       "\tItem Name\tSecret\tName",
                                                   code + "\twrong\twrong\tApple"}))
            << dumped.stderrText.toStdString();
        const QStringList run{"--home", home,      "--target", target,    "--workbook",
                              workbook, "--sheet", sheetOf(i), "--table", "MT_ITEM"};
        const QString header = hostile.name + "=ITEMCODE";
        if (hostile.name.isEmpty()) {
            const Output refused =
                RunXlsload(QStringList{"import"} + run + QStringList{"--map", header});
            EXPECT_EQ(refused.exitCode, 2);
            EXPECT_TRUE(refused.stderrText.contains("Cannot map \"=ITEMCODE\": sheet " +
                                                    sheetOf(i) + " has no Excel field"))
                << refused.stderrText.toStdString();
            continue;
        }
        const Output imported = RunXlsload(QStringList{"import"} + run +
                                           QStringList{"--map", header, "--map", "Name=ITEMNAME"});
        EXPECT_EQ(imported.exitCode, 0) << imported.stderrText.toStdString();
        EXPECT_EQ(imported.stdoutLines.mid(3),
                  (QStringList{"Inserted 1", "Updated 0", "Skipped 0"}));
        codes << code;
        const Output verified = RunXlsload(QStringList{"verify"} + run +
                                           QStringList{"--map", header, "--map", "Name=ITEMNAME",
                                                       "--map", "Item Name=" + hostile.name});
        // No such TILL field: refused by its name, as typed, before any row.
        EXPECT_EQ(verified.exitCode, 2) << verified.stderrText.toStdString();
        EXPECT_TRUE(verified.stderrText.contains("Cannot map \"Item Name=" + hostile.name + "\""))
            << verified.stderrText.toStdString();
    }
    // A match file can hold what no argument can: a TILL field with a NUL.
    QFile match(home + "/EXCEL/nul.ini");
    ASSERT_TRUE(match.open(QIODevice::WriteOnly));
    match.write(QByteArray("[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\n"
                           "Field_2='nul") +
                '\0' + "name'\r\nField_4='ITEMNAME'\r\n");
    match.close();
    const Output nul = RunXlsload({"verify", "--home", home, "--target", target, "--workbook",
                                   workbook, "--sheet", sheetOf(0), "--match", "nul"});
    EXPECT_EQ(nul.exitCode, 2) << nul.stderrText.toStdString();
    EXPECT_TRUE(nul.stderrText.contains("nul.ini")) << nul.stderrText.toStdString();
    // Each sheet's own code went in, with its PLU, and nothing else ran.
    const auto db = DbConnection::Connect(target);
    QStringList stored;
    for (auto rs = db->Open("Select ITEMCODE From MT_ITEM Order By ITEMCODE"); !rs->Eof();
         rs->MoveNext())
        stored << rs->Value(0).toString();
    codes.sort();
    EXPECT_EQ(stored, codes);
    EXPECT_EQ(db->Open("Select Count(*) From MT_PLU")->Value(0).toInt(), codes.size());
}

// The example match files keep their sheets' names: each fits its own sheet
// and is refused on another.
TEST(RunCommandTest, TheExampleMatchFilesFitTheirOwnSheetsOnly) {
    QTemporaryDir dir;
    const QString home = dir.path();
    const QString target = "sqlite:" + home + "/till.db";
    ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
    const QDir examples(XLSLOAD_SOURCE_DIR "/examples/EXCEL");
    for (const QString& file : examples.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(examples.filePath(file), home + "/EXCEL/" + file));
    ASSERT_EQ(RunXlsload({"init-db", target}).exitCode, 0);
    static const struct {
        const char* sheet;
        const char* match;
        int exitCode;
    } kCases[] = {
        {"Items", "DEMO_ITEMS", 0},     {"Stock", "DEMO_STOCK", 0}, {"Bom", "DEMO_BOM", 0},
        {"Members", "DEMO_MEMBERS", 0}, {"Stock", "DEMO_ITEMS", 2}, {"Items", "DEMO_STOCK", 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.sheet) + " with " + c.match);
        const Output out = RunXlsload({"verify", "--home", home, "--target", target, "--workbook",
                                       home + "/EXCEL/Demo.xls", "--sheet", c.sheet, "--match",
                                       c.match, "--strict-match"});
        EXPECT_EQ(out.exitCode, c.exitCode) << out.stderrText.toStdString();
        EXPECT_EQ(out.stderrText.contains("refused by --strict-match"), c.exitCode == 2);
    }
}

}  // namespace
