// `xlsload import` against SQL Server, seen at the wire: the scripted TDS
// endpoint on 127.0.0.1 answers from the demo schema (or an edited copy)
// and logs what the program sends.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "QStringPrinter.h"
#include "TdsCapture.h"
#include "TestWorkbook.h"

namespace {

struct Output {
    QString out;
    QString err;
    int exitCode = -1;
};

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

    QTemporaryDir dir;
    QString home;
    QString workbook;
};

const QStringList kMembers{"--sheet", "Members",       "--table", "CLUB_MT_MEMBER",
                           "--map",   "No=MEMBERCODE", "--map",   "Name=MEMBERNAME"};

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
        EXPECT_TRUE(
            log.contains("{\"name\": \"\", \"out\": false, \"type\": \"nvarchar(8000)\", "
                         "\"value\": \"" +
                         name + "\"}"))
            << name.toStdString();
    EXPECT_FALSE(log.contains("\"type\": \"varchar(")) << log.toStdString();
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

TEST_F(SqlServerImport, ASheetIsStagedInATemporaryTableAndARefusedSetFallsBackToRecords) {
    WriteWorkbook(workbook,
                  {{"Members", {{"No", "Name"}, {"M1", "Ann"}, {"M2", "Bob"}, {"M3", "Cy"}}}});
    // The endpoint is told to refuse the staging insert; the set is rolled
    // back and each record is written on its own.
    TdsCapture server({"--fail-on", "Insert Into #xl_stage1"});
    ASSERT_TRUE(server.Listening());
    const Output run = Import(server, kMembers);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Inserted 3\n")) << run.out.toStdString();
    const QString log = server.Log();
    const qsizetype staged = log.indexOf("Into #xl_stage1 From [CLUB_MT_MEMBER] Where 1 = 0");
    const qsizetype refused = log.indexOf("Insert Into #xl_stage1 ([MEMBERCODE], [MEMBERNAME]");
    const qsizetype rollback = log.indexOf("TM_ROLLBACK_XACT", refused);
    ASSERT_GE(staged, 0) << log.toStdString();
    ASSERT_GT(refused, staged) << log.toStdString();
    ASSERT_GT(rollback, refused) << log.toStdString();
    EXPECT_EQ(log.mid(rollback).count("Insert Into [CLUB_MT_MEMBER]"), 3) << log.toStdString();
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
