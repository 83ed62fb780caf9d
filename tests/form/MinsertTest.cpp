#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TdsCapture.h"
#include "base/Ini.h"
#include "form/Minsert.h"
#include "form/RecordingOperator.h"

namespace {

class MinsertTest : public testing::Test {
protected:
    QTemporaryDir dir;
    RecordingOperator op;
    Minsert form{op, dir.path()};
};

TEST_F(MinsertTest, StartUpCreatesTheWorkFolderAndFillsTheCatalogueQuietly) {
    form.Form_Load();
    EXPECT_TRUE(QDir(dir.path() + "/EXCEL").exists());
    EXPECT_EQ(form.LCombo[Minsert::kTableList].items.size(), 11);
    EXPECT_EQ(form.LCombo[Minsert::kTableList].listIndex, -1);
    ASSERT_EQ(form.List1[Minsert::kTableNames].items.size(), 11);
    EXPECT_EQ(form.List1[Minsert::kTableNames].items[7], "");
    EXPECT_EQ(form.List1[Minsert::kTableNames].items[9], "MT_ITEM");
    EXPECT_EQ(form.SC[Minsert::kCompanyList]->Rows(), 0);
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_TRUE(op.errors.isEmpty());
    EXPECT_FALSE(form.LblStatus.visible);
    EXPECT_FALSE(form.CVerify.enabled);
    EXPECT_FALSE(form.CStart.enabled);
}

TEST_F(MinsertTest, VerdictFilesAreNamedAfterTheWorkbookWithoutItsExtension) {
    static const struct {
        const char* path;
        const char* name;
    } kCases[] = {{"/data/Stock.xls", "Stock"},
                  {"/data/Stock.xlsx", "Stock"},
                  {"C:\\data\\my.stock.xlsm", "my.stock"},
                  {"/data/Stock", "Stock"}};
    for (const auto& c : kCases) {
        form.ChooseWorkbook(c.path);  // no such file: only its name is taken
        EXPECT_EQ(form.TxtField[Minsert::kWorkbookName].text, c.name) << c.path;
    }
}

struct ConnectCase {
    QStringList fields;  // server, database, user, password
    QString message;
    QString focus;
};

class ConnectChecks : public MinsertTest, public testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectChecks, AnEmptyFieldIsRefusedInOrder) {
    for (int i = 0; i < 4; ++i) form.TxtField[i].text = GetParam().fields[i];
    form.CVerify.enabled = true;
    form.CConnect_Click();
    ASSERT_EQ(op.messages.size(), 1);
    EXPECT_EQ(op.messages[0].text, GetParam().message);
    EXPECT_EQ(op.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(op.messages[0].title, "Message");
    EXPECT_EQ(op.focus, QStringList{GetParam().focus});
    EXPECT_TRUE(form.CVerify.enabled);  // nothing else changes
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ConnectChecks,
    testing::Values(ConnectCase{{"", "", "", ""}, "Invalid Server Name !!!", "TxtField(0)"},
                    ConnectCase{{"S", "", "U", "P"}, "Invalid Database Name !!!", "TxtField(1)"},
                    ConnectCase{{"S", "D", "", "P"}, "Invalid User ID !!!", "TxtField(2)"},
                    ConnectCase{{" ", "D", "U", ""}, "Invalid Password !!!", "TxtField(3)"}));

TEST_F(MinsertTest, VerifyWithoutATableAsksForOne) {
    form.CVerify_Click();
    ASSERT_EQ(op.messages.size(), 1);
    EXPECT_EQ(op.messages[0].text, "Please Select Table to Continue Verify.");
    EXPECT_EQ(op.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(op.focus, QStringList{"LCombo(1)"});
    EXPECT_FALSE(form.CStart.enabled);
}

TEST_F(MinsertTest, StartWithRejectedRowsAsksWithTheCountsAndCancels) {
    // As a Verify of 6,535 rows with 22 rejected leaves the form.
    form.SC[Minsert::kResultGrid]->SetCols(1);
    form.SC[Minsert::kResultGrid]->SetRows(22);
    form.VerifyResult.total = 6535;
    form.CStart.enabled = true;
    op.yesNoAnswers = {false};
    form.CStart_Click();
    EXPECT_EQ(op.questions, QStringList{"Confirm to Start Insert Data WITHOUT Error Data ?\n\n"
                                        "6,513 rows will be written, 22 skipped."});
    ASSERT_EQ(op.messages.size(), 1);
    EXPECT_EQ(op.messages[0].text, "Action Cancel.");
    EXPECT_EQ(op.messages[0].icon, MsgIcon::Exclamation);
}

TEST_F(MinsertTest, ClosingBeforeAnyConnectionSaysNothing) {
    form.CClose_Click();
    EXPECT_TRUE(form.Unloaded);
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_TRUE(op.errors.isEmpty());
}

}  // namespace

namespace {

// The window's connection takes its statement timeout from GSETUP.ini, or
// from the command line when that sets one; the server sees it as its lock
// timeout at login.
TEST_F(MinsertTest, TheStatementTimeoutComesFromGsetupUnlessTheCommandLineSetsOne) {
    if (TdsCapture::Script().isEmpty())
        GTEST_SKIP() << "no shared tds-capture tool beside the repository (../shared)";
    const struct {
        const char* gsetup;  // section CONNECTION's Timeout, or null for none
        int commandLine;
        const char* sent;
    } cases[] = {{nullptr, 0, "SET LOCK_TIMEOUT 60000"},
                 {"7", 0, "SET LOCK_TIMEOUT 7000"},
                 {"none", 0, "SET LOCK_TIMEOUT 60000"},
                 {"7", 3, "SET LOCK_TIMEOUT 3000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        QFile::remove(dir.path() + "/GSETUP.ini");
        if (c.gsetup) WriteIni("CONNECTION", "Timeout", c.gsetup, dir.path() + "/GSETUP.ini");
        TdsCapture server;
        ASSERT_TRUE(server.Listening());
        form.StatementTimeout = c.commandLine;
        form.TxtField[Minsert::kServerName].text = server.Server();
        form.TxtField[Minsert::kDatabaseName].text = "till";
        form.TxtField[Minsert::kUserId].text = "sa";
        form.TxtField[Minsert::kPassword].text = "plain";
        form.CConnect_Click();
        EXPECT_TRUE(form.Connected());
        EXPECT_TRUE(server.Log().contains(QString("BATCH \"%1\"").arg(c.sent)))
            << server.Log().toStdString();
    }
}

}  // namespace
