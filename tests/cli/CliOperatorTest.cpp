#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <memory>

#include "QStringPrinter.h"
#include "cli/CliOperator.h"

namespace {

// An operator writing to a temporary file, read back as text.
class CliOperatorTest : public testing::Test {
protected:
    QString Written() {
        std::fflush(file.get());
        std::rewind(file.get());
        QFile in;
        in.open(file.get(), QIODevice::ReadOnly);
        return QString::fromLocal8Bit(in.readAll());
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{std::tmpfile(), &std::fclose};
};

TEST_F(CliOperatorTest, MessagesAreWrittenWithTheirTitles) {
    CliOperator op(false, file.get());
    op.MsgBox("Insert Done.", MsgIcon::Exclamation, "Message");
    op.MsgBox("Module1 > 5 > bad > CheckString", MsgIcon::None, "XLSLOAD");
    EXPECT_EQ(Written(), "Message: Insert Done.\nXLSLOAD: Module1 > 5 > bad > CheckString\n");
}

TEST_F(CliOperatorTest, TheQuestionIsAnsweredByTheFlag) {
    EXPECT_TRUE(CliOperator(true, file.get()).AskYesNo("Confirm ?", "Question"));
    EXPECT_FALSE(CliOperator(false, file.get()).AskYesNo("Confirm ?", "Question"));
    const QString written = Written();
    EXPECT_TRUE(written.startsWith("Question: Confirm ? Yes\nQuestion: Confirm ? No"))
        << written.toStdString();
}

TEST_F(CliOperatorTest, DialogsThatNeedAnAnswerAreCancelled) {
    CliOperator op(true, file.get());
    EXPECT_EQ(op.InputBox("Please Key in a Match File Name to Save.", "Save File As", ""),
              std::nullopt);
    EXPECT_EQ(op.OpenFile("Open Excel (.xls)", "/tmp", "Excel Files (*.xls)|*.xls"), "");
    op.SetFocus("TxtField(0)");
    EXPECT_EQ(Written(),
              "Save File As: Please Key in a Match File Name to Save. Cancelled\n"
              "Open Excel (.xls): Cancelled\n");
}

TEST_F(CliOperatorTest, AnErrorNamesFormSubNumberAndDescription) {
    CliOperator op(false, file.get());
    ErrorVariables e;
    e.ErrFormName = "MINSERT";
    e.ErrNumber = -2147467259;
    e.ErrDescription = "Login failed.";
    e.ErrProcName = "ConnectDSN";
    op.ShowError(e);
    EXPECT_EQ(Written(),
              "Error Message: Form MINSERT, Sub ConnectDSN, Error Code -2147467259: Login "
              "failed.\n");
}

TEST_F(CliOperatorTest, ProgressIsLeftOutWhenNotATerminal) {
    CliOperator op(false, file.get());
    op.Progress("Processing... 1 of 2");
    op.Progress("");
    EXPECT_EQ(Written(), "");
}

TEST(ProgressLine, ACountGetsABar) {
    static const struct {
        const char* text;
        const char* expected;
    } kCases[] = {
        {"Processing... 5 of 10", "Processing... 5 of 10 [#####-----]"},
        {"Insert Data... 0 of 3", "Insert Data... 0 of 3 [----------]"},
        {"Insert Data... 3 of 3", "Insert Data... 3 of 3 [##########]"},
        {"Insert Data... 1 of 3", "Insert Data... 1 of 3 [###-------]"},
        {"Processing... 4 of 0", "Processing... 4 of 0"},
        {"Connecting", "Connecting"},
    };
    for (const auto& c : kCases) EXPECT_EQ(ProgressLine(c.text, 10), c.expected) << c.text;
}

TEST(ProgressLine, APaceAddsRowsASecondAndTheTimeLeft) {
    static const struct {
        const char* text;
        double rowsPerSecond;
        const char* expected;
    } kCases[] = {
        {"Insert Data... 300 of 1000", 150,
         "Insert Data... 300 of 1000 [###-------] 150 rows/s, 0:05 left"},
        {"Processing... 100 of 1000", 99.6,
         "Processing... 100 of 1000 [#---------] 100 rows/s, 0:10 left"},
        {"Insert Data... 1 of 65535", 20,
         "Insert Data... 1 of 65535 [----------] 20 rows/s, 54:37 left"},
        {"Insert Data... 0 of 100000", 20,
         "Insert Data... 0 of 100000 [----------] 20 rows/s, 1:23:20 left"},
        {"Insert Data... 3 of 3", 1200,
         "Insert Data... 3 of 3 [##########] 1200 rows/s, 0:00 left"},
        {"Insert Data... 1 of 3", 0, "Insert Data... 1 of 3 [###-------]"},
        {"Connecting", 50, "Connecting"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ProgressLine(c.text, 10, c.rowsPerSecond), c.expected) << c.text;
}

}  // namespace
