#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "form/ErrorReporter.h"
#include "form/RecordingOperator.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ErrorReportTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString home = dir.path();
    QDateTime now{QDate(2014, 7, 4), QTime(10, 15, 2)};
    ErrorVariables vars;
    RecordingOperator op;
    ErrorReporter reporter{vars, op, home, [this] { return now; }};
};

TEST_F(ErrorReportTest, AFailureShowsTheDialogLogsALineAndClearsTheVariables) {
    const bool completed = reporter.Guard("MINSERT", "ConnectDSN", [] {
        throw AppError(-2147467259, "Login failed\nfor user 'sa'.");
    });
    EXPECT_FALSE(completed);
    ASSERT_EQ(op.errors.size(), 1);
    EXPECT_EQ(op.errors[0].ErrFormName, "MINSERT");
    EXPECT_EQ(op.errors[0].ErrProcName, "ConnectDSN");
    EXPECT_EQ(op.errors[0].ErrNumber, -2147467259);
    EXPECT_EQ(op.errors[0].ErrDescription, "Login failed\nfor user 'sa'.");
    EXPECT_EQ(ReadAll(home + "/LOG/XLSLOADLOG/Err_20140704.Log"),
              "[XLSLOAD] 04/07/2014 10:15:02 (MINSERT>ConnectDSN) -2147467259 Login failed\n"
              "for user 'sa'.\r\n");
    EXPECT_TRUE(vars.ErrFormName.isEmpty());
    EXPECT_FALSE(vars.ErrNumber.has_value());
    EXPECT_TRUE(vars.ErrDescription.isEmpty());
    EXPECT_TRUE(vars.ErrProcName.isEmpty());
}

// A mistake of the input (a missing or damaged file) is the user's to mend,
// not a failure of the program: it is shown, marked as such, and not logged.
TEST_F(ErrorReportTest, AnInputMistakeIsShownButNotLogged) {
    reporter.Guard("MINSERT", "GetExcelSheet",
                   [] { throw InputMistake(3274, "The workbook \"a.xls\" is damaged."); });
    ASSERT_EQ(op.errors.size(), 1);
    EXPECT_TRUE(op.errors[0].ErrInputMistake);
    EXPECT_EQ(op.errors[0].ErrDescription, "The workbook \"a.xls\" is damaged.");
    EXPECT_FALSE(QDir(home + "/LOG/XLSLOADLOG").exists());
    EXPECT_FALSE(vars.ErrInputMistake);
}

TEST_F(ErrorReportTest, StepsAfterTheDialogRunOnlyOnFailure) {
    int after = 0;
    EXPECT_TRUE(reporter.Guard(
        "MINSERT", "X", [] {}, [&] { ++after; }));
    EXPECT_EQ(after, 0);
    reporter.Guard(
        "MINSERT", "X", [] { throw std::runtime_error("boom"); }, [&] { ++after; });
    EXPECT_EQ(after, 1);
    ASSERT_EQ(op.errors.size(), 1);
    EXPECT_EQ(op.errors[0].ErrNumber, ErrorReporter::kUnexpectedNumber);
    EXPECT_EQ(op.errors[0].ErrDescription, "boom");
}

TEST_F(ErrorReportTest, SameDayAppendsNewDayStartsANewFile) {
    reporter.Report("MINSERT", "A", 1, "first");
    reporter.Report("MINSERT", "B", 2, "second");
    now = now.addDays(1);
    reporter.Report("MINSERT", "C", 3, "third");
    EXPECT_EQ(ReadAll(home + "/LOG/XLSLOADLOG/Err_20140704.Log"),
              "[XLSLOAD] 04/07/2014 10:15:02 (MINSERT>A) 1 first\r\n"
              "[XLSLOAD] 04/07/2014 10:15:02 (MINSERT>B) 2 second\r\n");
    EXPECT_EQ(ReadAll(home + "/LOG/XLSLOADLOG/Err_20140705.Log"),
              "[XLSLOAD] 05/07/2014 10:15:02 (MINSERT>C) 3 third\r\n");
}

// The dialog shows when the log cannot be written, and says why; a link in
// place of the day's log is not followed, so its target stays as it was.
TEST_F(ErrorReportTest, AnUnwritableLogStillShowsTheDialogAndSaysSo) {
    const QString log = home + "/LOG/XLSLOADLOG/Err_20140704.Log";
    const QString target = home + "/target.txt";
    static const struct {
        const char* what;
        void (*make)(const QString& home, const QString& log, const QString& target);
        const char* says;
    } kCases[] = {
        {"a file where the LOG folder goes",
         [](const QString& home, const QString&, const QString&) {
             QFile(home + "/LOG").open(QIODevice::WriteOnly);
         },
         "/LOG/XLSLOADLOG cannot be made"},
        {"a link in place of the log",
         [](const QString& home, const QString& log, const QString& target) {
             QDir().mkpath(home + "/LOG/XLSLOADLOG");
             QFile(target).open(QIODevice::WriteOnly);
             QFile::link(target, log);
         },
         "Err_20140704.Log could not be written: it is a symbolic link"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        QDir(home).removeRecursively();
        QDir().mkpath(home);
        c.make(home, log, target);
        op.errors.clear();
        reporter.Report("MINSERT", "Form_Load", 75, "Path/File access error");
        ASSERT_EQ(op.errors.size(), 1);
        EXPECT_TRUE(op.errors[0].ErrDescription.startsWith(
            "Path/File access error\nThe error log was not written: "));
        EXPECT_TRUE(op.errors[0].ErrDescription.contains(c.says))
            << op.errors[0].ErrDescription.toStdString();
        EXPECT_EQ(QFileInfo(target).exists() ? QFileInfo(target).size() : 0, 0);
    }
}

}  // namespace
