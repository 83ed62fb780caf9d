// `xlsload import` against SQL Server, seen at the wire: the scripted TDS
// endpoint on 127.0.0.1 answers from the demo schema (or an edited copy)
// and logs what the program sends.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

#include "HostileNames.h"
#include "QStringPrinter.h"
#include "TdsCapture.h"
#include "TestWorkbook.h"

namespace {

struct Output {
    QString out;
    QString err;
    int exitCode = -1;
};

const QStringList kMembers{"--sheet", "Members",       "--table", "CLUB_MT_MEMBER",
                           "--map",   "No=MEMBERCODE", "--map",   "Name=MEMBERNAME"};

// How many statements that insert a record of the table on its own, with
// its values, ran after the first holding mark.
int RecordInsertsAfter(const TdsCapture& server, const QString& mark, const QString& table) {
    const QStringList statements = server.Statements();
    const auto first = std::find_if(statements.cbegin(), statements.cend(),
                                    [&](const QString& s) { return s.contains(mark); });
    const QRegularExpression insert("^Insert Into \\[" + table + "\\] \\(.*\\) Values ");
    return int(std::count_if(first, statements.cend(),
                             [&](const QString& s) { return insert.match(s).hasMatch(); }));
}

class SqlServerImport : public testing::Test {
protected:
    void SetUp() override {
        if (TdsCapture::Script().isEmpty())
            GTEST_SKIP() << "no shared tds-capture tool beside the repository (../shared)";
        home = dir.path();
        ASSERT_TRUE(QDir(home).mkpath("EXCEL"));
        workbook = home + "/EXCEL/Book.xls";
    }

    Output Import(const TdsCapture& server, const QStringList& more,
                  const QString& password = "plain") {
        QProcess process;
        process.start(
            QString(XLSLOAD_BINARY_DIR) + "/cli/xlsload",
            QStringList{"import", "--home", home, "--server", server.Server(), "--database", "till",
                        "--user", "sa", "--password", password, "--workbook", workbook, "--yes"} +
                more);
        EXPECT_TRUE(process.waitForFinished(120000));
        return {QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError()), process.exitCode()};
    }

    // Three members imported through the server, every one of them written.
    Output ImportThreeMembers(const TdsCapture& server) {
        WriteWorkbook(workbook,
                      {{"Members", {{"No", "Name"}, {"M1", "Ann"}, {"M2", "Bob"}, {"M3", "Cy"}}}});
        Output run = Import(server, kMembers);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("Inserted 3\n")) << run.out.toStdString();
        return run;
    }

    QTemporaryDir dir;
    QString home;
    QString workbook;
};

TEST_F(SqlServerImport, ThaiGreekAndAccentedNamesArriveAsUnicodeInAThaiDatabase) {
    const QStringList names{QString::fromUtf8("สมชาย ใจดี"),
                            QString::fromUtf8("Γιώργος Παπαδόπουλος"),
                            QString::fromUtf8("Zoë Müller-Łukasz")};
    WriteWorkbook(
        workbook,
        {{"Members", {{"No", "Name"}, {"M1", names[0]}, {"M2", names[1]}, {"M3", names[2]}}}});
    TdsCapture server({"--coll", "1e04d00000"});
    ASSERT_TRUE(server.Listening());
    const Output run = Import(server, kMembers);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Inserted 3\n")) << run.out.toStdString();
    const QString log = server.Log();
    for (const QString& name : names)
        EXPECT_TRUE(log.contains("\"type\": \"nvarchar(8000)\", \"value\": \"" + name + "\""))
            << name.toStdString();
    EXPECT_FALSE(server.SentNarrowTextBeyondAscii()) << log.toStdString();
}

TEST_F(SqlServerImport, EmptyTinyintAndBitCellsWriteZero) {
    WriteWorkbook(workbook, {{"Members",
                              {{"No", "Name", "Status", "Active"},
                               {"M1", "Ann", QVariant(), QVariant()},
                               {"M2", "Bob", 2, 1}}}});
    const QString schema =
        TdsCapture::EditedSchema(dir, {{"MEMBERNAME varchar(100),",
                                        "MEMBERNAME varchar(100),\n    STATUS tinyint,\n    "
                                        "ACTIVE bit,"}});
    TdsCapture server({"--schema", schema});
    ASSERT_TRUE(server.Listening());
    const Output run =
        Import(server, kMembers + QStringList{"--map", "Status=STATUS", "--map", "Active=ACTIVE"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Inserted 2\n")) << run.out.toStdString();
    EXPECT_FALSE(run.err.contains("Cannot convert")) << run.err.toStdString();
    EXPECT_TRUE(server.Log().contains(
        "\"value\": \"Ann\"}, {\"name\": \"\", \"out\": false, \"type\": \"intn(8)\", \"value\": "
        "0}, {\"name\": \"\", \"out\": false, \"type\": \"bitn(1)\", \"value\": false}"))
        << server.Log().toStdString();
}

// The members table with a column of each kind whose values the server
// checks; the sheet's columns are named as the table's.
const QList<QPair<QString, QString>> kValueSchema{
    {"MEMBERNAME varchar(100),",
     "MEMBERNAME varchar(100),\n    STATUS tinyint,\n    LEVELNO smallint,\n    ACTIVE bit,\n    "
     "CREDIT numeric(18,4),\n    BALANCE money,\n    SMALLBAL smallmoney,"},
    {"JOINDATE datetime,", "JOINDATE smalldatetime,"}};
const QStringList kValueColumns{"MEMBERCODE", "MEMBERNAME", "STATUS",  "LEVELNO",
                                "POINTS",     "ACTIVE",     "CREDIT",  "BALANCE",
                                "SMALLBAL",   "BIRTHDATE",  "JOINDATE"};

// One sheet row: a member with one cell given, in column, and the others empty.
struct ValueCase {
    const char* column;
    QVariant cell;
    const char* verdict;  // empty for a row that goes in
    const char* stored;   // what the endpoint keeps of the cell of a row that goes in
};

const ValueCase kValueCases[] = {
    {"POINTS", "abc", "INVALIDVALUE", ""},
    {"CREDIT", "12abc", "INVALIDVALUE", ""},
    {"BALANCE", "1,234.5", "INVALIDVALUE", ""},
    {"SMALLBAL", "$3.50", "INVALIDVALUE", ""},
    {"POINTS", 2.5, "INVALIDVALUE", ""},
    {"STATUS", 300, "INVALIDVALUE", ""},
    {"LEVELNO", 40000, "INVALIDVALUE", ""},
    {"POINTS", 3e9, "INVALIDVALUE", ""},
    {"ACTIVE", 2, "INVALIDVALUE", ""},
    {"CREDIT", 1e15, "INVALIDVALUE", ""},
    {"BALANCE", 1e15, "INVALIDVALUE", ""},
    {"SMALLBAL", 300000, "INVALIDVALUE", ""},
    {"BIRTHDATE", "1752-12-31", "INVALIDVALUE", ""},
    {"JOINDATE", "2079-06-07", "INVALIDVALUE", ""},
    {"MEMBERCODE", "A1\tB", "STRINGERROR", ""},
    {"POINTS", " 7 ", "", "7"},
    {"CREDIT", "1e3", "", "1000"},
    {"CREDIT", -2.5, "", "-2.5"},
    {"CREDIT", 2.12345, "", "2.1235"},
    {"BALANCE", 922337203685477.0, "", "922337203685477"},
    {"SMALLBAL", -214748.3647, "", "-214748.3647"},
    {"ACTIVE", "TRUE", "", "true"},
    {"JOINDATE", QDate(2079, 6, 6), "", "2079-06-06 00:00:00"},
};

// The endpoint's store, as --dump FILE writes it once every connection
// has closed.
QJsonObject StoredTables(const TdsCapture& server, const QString& dump) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        const QString log = server.Log();
        QFile file(dump);
        if (log.count(" CLOSED ") == log.count(" LOGIN7 tdsver") && file.open(QIODevice::ReadOnly))
            if (const QJsonDocument json = QJsonDocument::fromJson(file.readAll()); json.isObject())
                return json.object();
        QThread::msleep(20);
    }
    return {};
}

TEST_F(SqlServerImport, EveryValueTheServerWouldRefuseIsRejectedByVerify) {
    QStringList options{"--sheet", "Members", "--table", "CLUB_MT_MEMBER", "--summary", "json"};
    for (const QString& column : kValueColumns) options << "--map" << column + "=" + column;
    QList<QVariantList> rows{QVariantList(kValueColumns.cbegin(), kValueColumns.cend())};
    for (const ValueCase& c : kValueCases) {
        QVariantList row(kValueColumns.size());
        row[0] = QString("M%1").arg(rows.size() + 1);  // its sheet row
        row[1] = "Member";
        row[kValueColumns.indexOf(c.column)] = c.cell;
        rows << row;
    }
    WriteWorkbook(workbook, {{"Members", rows}});
    const QString schema = TdsCapture::EditedSchema(dir, kValueSchema);
    const QString dump = dir.filePath("store.json");

    // The set as it is staged, whose values the endpoint checks; then one
    // record at a time, when the endpoint refuses the staging insert.
    const struct {
        QStringList options;
        const char* writes;  // in the log where the rows are written this way
    } passes[] = {{{}, "From #xl_stage1 Where xl_new = 1 And xl_add = @P1"},
                  {{"--fail-on", "Insert Into #xl_stage1"}, "-> injected error"}};
    for (const auto& pass : passes) {
        SCOPED_TRACE(pass.writes);
        QFile::remove(dump);
        TdsCapture server(QStringList{"--schema", schema, "--dump", dump} + pass.options);
        ASSERT_TRUE(server.Listening());
        const Output run = Import(server, options);
        const QString log = server.Log();
        EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("Error Code")) << run.err.toStdString();
        // The endpoint refused no value (8152, 220, 242, 515): the program
        // would have answered a refused set by writing records one at a time.
        EXPECT_FALSE(log.contains("-> ERROR")) << log.toStdString();
        EXPECT_TRUE(log.contains(pass.writes)) << log.toStdString();

        const QJsonObject summary = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QHash<int, QString> rejected;  // sheet row: "VERDICT COLUMN"
        for (const QJsonValue& r : summary["rejected"].toArray())
            rejected.insert(r["row"].toInt(),
                            r["verdict"].toString() + " " + r["column"].toString());
        const QJsonArray members = StoredTables(server, dump)["CLUB_MT_MEMBER"].toArray();
        QHash<QString, QJsonObject> stored;  // by member code
        for (const QJsonValue& m : members) stored.insert(m["MEMBERCODE"].toString(), m.toObject());

        int written = 0;
        for (int i = 0; i < int(std::size(kValueCases)); ++i) {
            const ValueCase& c = kValueCases[i];
            const int row = i + 2;  // below the headings
            const QString code = rows[i + 1][0].toString();
            const std::string what = QString("row %1, %2 into %3")
                                         .arg(row)
                                         .arg(c.cell.toString(), c.column)
                                         .toStdString();
            const bool goesIn = *c.verdict == '\0';
            EXPECT_EQ(rejected.value(row), goesIn ? QString() : c.verdict + QString(" ") + c.column)
                << what;
            EXPECT_EQ(stored.contains(code), goesIn) << what;
            if (!goesIn) continue;
            ++written;
            EXPECT_EQ(stored[code][c.column].toVariant().toString(), QString(c.stored)) << what;
        }
        EXPECT_EQ(summary["inserted"].toInt(), written) << run.out.toStdString();
        EXPECT_EQ(members.size(), written) << log.toStdString();
    }
}

TEST_F(SqlServerImport, ASheetIsStagedInATemporaryTableAndARefusedSetFallsBackToRecords) {
    // The endpoint is told to refuse the staging insert; the set is rolled
    // back and each record is written on its own.
    TdsCapture server({"--fail-on", "Insert Into #xl_stage1"});
    ASSERT_TRUE(server.Listening());
    const Output run = ImportThreeMembers(server);
    const QString log = server.Log();
    const qsizetype staged = log.indexOf("Into #xl_stage1 From [CLUB_MT_MEMBER] Where 1 = 0");
    const qsizetype refused = log.indexOf("Insert Into #xl_stage1 ([MEMBERCODE], [MEMBERNAME]");
    const qsizetype rollback = log.indexOf("TM_ROLLBACK_XACT", refused);
    ASSERT_GE(staged, 0) << log.toStdString();
    ASSERT_GT(refused, staged) << log.toStdString();
    ASSERT_GT(rollback, refused) << log.toStdString();
    EXPECT_EQ(RecordInsertsAfter(server, "Insert Into #xl_stage1", "CLUB_MT_MEMBER"), 3)
        << log.toStdString();
    // The user is told, and the log keeps why.
    EXPECT_TRUE(run.err.contains("Notice: The sheet could not be written as a set (error"))
        << run.err.toStdString();
    QString logged;
    for (const QFileInfo& file : QDir(home + "/LOG/XLSLOADLOG").entryInfoList({"Err_*.Log"})) {
        QFile f(file.filePath());
        if (f.open(QIODevice::ReadOnly)) logged += QString::fromUtf8(f.readAll());
    }
    EXPECT_TRUE(logged.contains("could not be written as a set")) << logged.toStdString();
}

// Each kind of sheet goes as a set: after the staging no record is inserted
// on its own, and no statement is prepared twice (binding values anew would
// prepare it again at every run).
TEST_F(SqlServerImport, EachKindOfSheetGoesAsASetPreparingEachStatementOnce) {
    const struct {
        const char* table;
        QStringList header;
        std::function<QVariantList(int)> row;
    } kinds[] = {
        {"CLUB_MT_MEMBER",
         {"MEMBERCODE", "MEMBERNAME", "BIRTHDATE"},
         [](int i) -> QVariantList {
             return {QString("M%1").arg(i), QString("Member %1").arg(i),
                     QDate(1990, 1, 1).addDays(i)};
         }},
        {"MT_ITEM",
         {"ITEMCODE", "ITEMNAME", "PLUCODE", "POSDESCRIPTION", "UNITPRICE"},
         [](int i) -> QVariantList {
             return {QString("I%1").arg(i), QString("Item %1").arg(i), QString("P%1").arg(i),
                     QString("Plu %1").arg(i), i % 7 ? QVariant(i / 4.0) : QVariant()};
         }},
        {"INVT_MT_ITEM",
         {"ITEMCODE", "ITEMNAME", "PORTIONUNITPRICE"},
         [](int i) -> QVariantList {
             return {QString("S%1").arg(i), QString("Stock %1").arg(i), i / 8.0};
         }},
    };
    constexpr int kRows = 600;
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.table);
        QList<QVariantList> rows{QVariantList(kind.header.cbegin(), kind.header.cend())};
        for (int i = 1; i <= kRows; ++i) rows << kind.row(i);
        WriteWorkbook(workbook, {{"Sheet", rows}});
        TdsCapture server;
        ASSERT_TRUE(server.Listening());
        QStringList args{"--sheet", "Sheet", "--table", kind.table};
        for (const QString& column : kind.header) args << "--map" << column + "=" + column;
        const Output run = Import(server, args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QString("Inserted %1\n").arg(kRows))) << run.out.toStdString();
        EXPECT_FALSE(run.err.contains("Notice:")) << run.err.toStdString();
        EXPECT_EQ(RecordInsertsAfter(server, "Insert Into #xl_stage", kind.table), 0);
        QStringList prepared;
        for (const QString& line : server.Log().split('\n'))
            if (line.contains(" RPC sp_prepexec ")) prepared << line.section("\"value\": ", 3, 3);
        EXPECT_EQ(QSet<QString>(prepared.cbegin(), prepared.cend()).size(), prepared.size())
            << prepared.join('\n').toStdString();
    }
}

// A deadlock victim's transaction is rolled back by the server, so the
// client's own rollback finds none: the session is opened again, and the
// records still go one by one, in a transaction the server knows of.
TEST_F(SqlServerImport, ASetTheServerRolledBackFallsBackToRecordsInTransactions) {
    TdsCapture server({"--fail-on", "From #xl_stage1", "--fail-error", "1205"});
    ASSERT_TRUE(server.Listening());
    ImportThreeMembers(server);
    const QString log = server.Log();
    const qsizetype refused = log.indexOf("From #xl_stage1");
    ASSERT_GE(refused, 0) << log.toStdString();
    const QString after = log.mid(refused);
    EXPECT_EQ(RecordInsertsAfter(server, "From #xl_stage1", "CLUB_MT_MEMBER"), 3)
        << log.toStdString();
    const qsizetype begun = after.indexOf("TM_BEGIN_XACT");
    ASSERT_GE(begun, 0) << log.toStdString();
    EXPECT_LT(begun, after.indexOf("RPC sp_execute")) << log.toStdString();
    EXPECT_GT(after.lastIndexOf("TM_COMMIT_XACT"), after.lastIndexOf("RPC sp_execute"))
        << log.toStdString();
    EXPECT_FALSE(after.contains("ERROR 3902")) << log.toStdString();
}

TEST_F(SqlServerImport, ABillOfMaterialImportsBesideARowVersionColumn) {
    QFile::copy(XLSLOAD_SOURCE_DIR "/examples/EXCEL/Demo.xls", workbook);
    QFile::copy(XLSLOAD_SOURCE_DIR "/examples/EXCEL/DEMO_BOM.ini", home + "/EXCEL/DEMO_BOM.ini");
    const QString schema = TdsCapture::EditedSchema(dir, {{"CREATE TABLE INVT_MT_BOMMASTER (\n",
                                                           "CREATE TABLE INVT_MT_BOMMASTER (\n    "
                                                           "ROWVER timestamp,\n"}});
    TdsCapture server({"--schema", schema});
    ASSERT_TRUE(server.Listening());
    const Output run = Import(server, {"--sheet", "Bom", "--match", "DEMO_BOM"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Message: Insert Done.")) << run.err.toStdString();
}

// Sheets and headers named to end a statement's quotes early, mapped by
// --map, and --map naming such a TILL field: every record goes in, and no
// statement the server gets holds any of it outside its quotes.
TEST_F(SqlServerImport, NamesThatWouldEndTheirQuotesStayInside) {
    workbook = home + "/EXCEL/Book.xlsx";
    const auto sheetOf = [](int i) {
        const QString& name = HostileNames()[i].name;
        return CanNameASheet(name) ? name : "Members " + QString::number(i);
    };
    QList<TestSheet> sheets;
    for (int i = 0; i < HostileNames().size(); ++i)
        sheets << TestSheet{
            sheetOf(i),
            {{HostileNames()[i].name, "Name", "Note"}, {"M" + QString::number(i), "Ann", "note"}}};
    WriteWorkbook(workbook, sheets);
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    for (int i = 0; i < HostileNames().size(); ++i) {
        const QString& name = HostileNames()[i].name;
        SCOPED_TRACE(HostileNames()[i].what);
        // No argument holds a NUL, and "=X" maps no column.
        if (name.contains(QChar(0)) || name.isEmpty()) continue;
        const QStringList run{"--sheet", sheetOf(i),           "--table", "CLUB_MT_MEMBER",
                              "--map",   name + "=MEMBERCODE", "--map",   "Name=MEMBERNAME"};
        const Output imported = Import(server, run);
        EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_TRUE(imported.out.contains("Inserted 1\n")) << imported.out.toStdString();
        const Output refused = Import(server, run + QStringList{"--map", "Note=" + name});
        // No such TILL field: refused by its name before any row.
        EXPECT_EQ(refused.exitCode, 2) << refused.err.toStdString();
        EXPECT_TRUE(refused.err.contains("Cannot map \"Note=" + name + "\""))
            << refused.err.toStdString();
    }
    const QStringList statements = server.Statements();
    EXPECT_FALSE(statements.isEmpty());
    for (const QString& statement : statements) {
        const QString outside = OutsideQuotes(statement);
        for (const char* injected : {";", "--", "DROP", "Union", "Secret", "Neil", "when", "kg"})
            EXPECT_FALSE(outside.contains(injected)) << statement.toStdString();
    }
}

TEST_F(SqlServerImport, AnUnansweredStatementTimesOutNamingTheRow) {
    WriteWorkbook(workbook, {{"Members", {{"No", "Name"}, {"M1", "Ann"}, {"M2", "Bob"}}}});
    TdsCapture server({"--hang-on", "Insert Into [CLUB_MT_MEMBER]"});
    ASSERT_TRUE(server.Listening());
    const Output run = Import(server, kMembers + QStringList{"--timeout", "1"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(
        run.err.contains("Row 2 of the sheet: The statement timed out waiting for the "
                         "server (1 s)."))
        << run.err.toStdString();
    EXPECT_TRUE(server.Log().contains("BATCH \"SET LOCK_TIMEOUT 1000\""));
}

TEST_F(SqlServerImport, APasswordTheDriverCannotReceiveIsRefusedBeforeLogin) {
    WriteWorkbook(workbook, {{"Members", {{"No", "Name"}, {"M1", "Ann"}}}});
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    const Output run = Import(server, kMembers, "a}b");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("The Password cannot hold the character }"))
        << run.err.toStdString();
    EXPECT_FALSE(server.Log().contains("LOGIN7"));
}

}  // namespace
