#include <QLabel>
#include <QPushButton>
#include <functional>

#include "TestWorkbook.h"
#include "WindowFixture.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"

namespace {

constexpr int kRows = 1200;

// The window over a demo till file and a sheet of kRows items, two of them
// rejected by Verify (the same code twice), with Verify and Start pressed
// as the operator presses them.
class RunningPassTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        const QString target = SqliteTarget(dir.path() + "/till.db");
        db = DbConnection::Connect(target, DbConnection::SqliteFile::Create);
        CreateDemoSchema(*db);
        QList<QVariantList> rows{{"Code", "Name"}};
        for (int i = 1; i <= kRows; ++i)
            rows.append({QString("C%1").arg(i == 2 ? 1 : i), QString("Item %1").arg(i)});
        const QString book = dir.path() + "/EXCEL/Book.xls";
        WriteWorkbook(book, {{"Items", rows}});
        form.ConnectTarget(target);
        form.ChooseWorkbook(book);
        ASSERT_TRUE(form.ChooseSheet("Items"));
        ASSERT_TRUE(form.ChooseTable("MT_ITEM"));
        ASSERT_EQ(form.MapColumn("Code", "ITEMCODE"), "");
        ASSERT_EQ(form.MapColumn("Name", "ITEMNAME"), "");
        window.Sync();
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    }

    void Click(const char* button) { QTest::mouseClick(Find(button), Qt::LeftButton); }
    void VerifyAndStart() {
        Click("CVerify");
        ASSERT_TRUE(Find("CStart")->isEnabled()) << op.LastMessage().toStdString();
        Click("CStart");
    }
    // Does what the operator does when the pass reports the progress text.
    void At(const QString& progress, std::function<void()> act) {
        op.onProgress = [progress, act](const QString& text) {
            if (text == progress) act();
        };
    }
    QString Result() const { return Find<QLabel>("LblResult")->text(); }
    int Items() const { return db->Open("Select Count(*) From MT_ITEM")->Value(0).toInt(); }

    std::unique_ptr<DbConnection> db;
};

TEST_F(RunningPassTest, StartShowsWhatItWroteAndASecondStartShowsUpdates) {
    VerifyAndStart();
    EXPECT_EQ(op.questions, QStringList{"Confirm to Start Insert Data WITHOUT Error Data ?\n\n"
                                        "1,198 rows will be written, 2 skipped."});
    EXPECT_EQ(op.LastMessage(), "Insert Done.");
    EXPECT_EQ(Result(),
              "Inserted 1,198, Updated 0, Skipped 2. Verdict files in the EXCEL folder: "
              "Book_Migrate_DUPLICATEVALUE.txt, Book_Migrate_OK.txt");
    EXPECT_TRUE(Find("LblResult")->isVisible());

    // Verify clears the line; the same sheet again updates every row.
    Click("CVerify");
    EXPECT_EQ(Result(), "");
    Click("CStart");
    EXPECT_TRUE(Result().startsWith("Inserted 0, Updated 1,198, Skipped 2."))
        << Result().toStdString();
    EXPECT_EQ(Items(), 1198);
    EXPECT_TRUE(op.errors.isEmpty());
}

// Close, Esc and the close box ask whether to stop a running Start; Yes
// stops it before the next record, keeping what was written, and the
// window stays open to say how far it got.
TEST_F(RunningPassTest, CloseEscOrTheCloseBoxStopStartBetweenRecords) {
    const struct {
        const char* way;
        std::function<void()> ask;
    } kWays[] = {
        {"Close button", [this] { Click("CClose"); }},
        {"Esc", [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); }},
        {"close box", [this] { window.close(); }},
    };
    // Records one at a time, so that those before the stop stay written.
    form.WriteSheetAsSet = false;
    for (const auto& [way, ask] : kWays) {
        SCOPED_TRACE(way);
        db->Execute("Delete From MT_PLU");
        db->Execute("Delete From MT_ITEM");
        op.questions.clear();
        Click("CVerify");
        At("Insert Data... 101 of 1,200", ask);
        op.yesNoAnswers = {true, true};  // skip the rejected rows, then stop
        Click("CStart");
        op.onProgress = nullptr;
        ASSERT_EQ(op.questions.size(), 2);
        EXPECT_EQ(op.questions[1],
                  "Stop Insert at this row? The rows written so far stay written.");
        // Rows 1 and 2 are the rejected pair.
        EXPECT_EQ(op.LastMessage(), "Insert stopped at row 101 of 1,200: 98 rows written.");
        EXPECT_EQ(Items(), 98);
        EXPECT_TRUE(Result().startsWith("Inserted 98, Updated 0, Skipped 2."))
            << Result().toStdString();
        EXPECT_TRUE(window.isVisible());
        EXPECT_FALSE(form.Unloaded);
        EXPECT_EQ(Find<QLabel>("LblProgress")->text(), "");
    }
    EXPECT_TRUE(op.errors.isEmpty());
}

// As a set nothing is written until the whole sheet is: the question says
// so, a stop writes nothing, and the rejected rows still count as skipped.
TEST_F(RunningPassTest, StoppingASetStartAsksWhatWillHappenAndWritesNothing) {
    Click("CVerify");
    At("Insert Data... 101 of 1,200", [this] { Click("CClose"); });
    op.yesNoAnswers = {true, true};  // skip the rejected rows, then stop
    Click("CStart");
    op.onProgress = nullptr;
    ASSERT_EQ(op.questions.size(), 2);
    EXPECT_EQ(op.questions[1], "Nothing of this sheet has been written yet; stop?");
    EXPECT_EQ(op.LastMessage(), "Insert stopped at row 101 of 1,200: 0 rows written.");
    EXPECT_EQ(Items(), 0);
    EXPECT_TRUE(Result().startsWith("Inserted 0, Updated 0, Skipped 2.")) << Result().toStdString();
}

TEST_F(RunningPassTest, WhileAPassRunsOnlyCloseIsTaken) {
    Click("CVerify");
    // Verify, Connect and typing during Start would run a handler inside it.
    At("Insert Data... 10 of 1,200", [this] {
        Click("CVerify");
        Click("CConnect");
        QTest::keyClicks(Find("TxtField(5)"), "typed");
    });
    const int messagesBefore = op.messages.size();
    Click("CStart");
    EXPECT_EQ(op.messages.size(), messagesBefore + 1);
    EXPECT_EQ(op.LastMessage(), "Insert Done.");
    EXPECT_EQ(form.TxtField[Minsert::kMatchName].text, "");
    EXPECT_EQ(Items(), 1198);
    // Once the pass is over the window takes input again.
    Click("CConnect");
    EXPECT_NE(op.LastMessage(), "Insert Done.");
}

TEST_F(RunningPassTest, VerifyStoppedWithEscLeavesStartOff) {
    At("Processing... 50 of 1,200",
       [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    Click("CVerify");
    EXPECT_EQ(op.LastMessage(),
              "Verify stopped at row 50 of 1,200: press Verify again to check the whole sheet "
              "before Start.");
    EXPECT_FALSE(Find("CStart")->isEnabled());
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
