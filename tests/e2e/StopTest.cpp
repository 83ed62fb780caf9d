#include "FormFixture.h"

namespace {

constexpr int kRows = 1200;

// Stops a pass the way the window does when the operator presses Close
// during it: at the progress report of one record.
class StopTest : public FormFixture {
protected:
    void SetUp() override {
        FormFixture::SetUp();
        if (IsSkipped()) return;
        form->ProgressIntervalMs = 0;  // every record reported
        QList<QVariantList> rows{{"Code", "Name"}};
        for (int i = 1; i <= kRows; ++i)
            rows.append({QString("C%1").arg(i, 5, 10, QChar('0')), QString("Item %1").arg(i)});
        LoadSheet({{"Items", rows}}, "Items");
        ChooseTable("MT_ITEM");
        Map({{"Code", "ITEMCODE"}, {"Name", "ITEMNAME"}});
    }

    // Presses Close when the pass reports the progress text given.
    void CloseAt(const QString& progress) {
        op.onProgress = [this, progress](const QString& text) {
            if (text == progress) form->CClose_Click();
        };
    }

    int Items() { return Query("Select Count(*) From MT_ITEM")[0][0].toInt(); }
    int Plus() { return Query("Select Count(*) From MT_PLU")[0][0].toInt(); }
};

// Past the first group of records an SQLite file commits together. Records
// one at a time keep those before the stop.
TEST_P(StopTest, StartStoppedBetweenRecordsKeepsWhatItWroteAndCanBeRunAgain) {
    form->WriteSheetAsSet = false;
    form->CVerify_Click();
    ASSERT_TRUE(form->CStart.enabled);
    CloseAt("Insert Data... 1,100 of 1,200");
    form->CStart_Click();
    ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    EXPECT_EQ(op.questions.last(),
              "Stop Insert at this row? The rows written so far stay written.");
    EXPECT_EQ(op.LastMessage(), "Insert stopped at row 1,100 of 1,200: 1,099 rows written.");
    EXPECT_EQ(form->InsertStoppedAt, 1100);
    EXPECT_EQ(Items(), 1099);
    EXPECT_TRUE(form->LblResult.caption.startsWith("Inserted 1,099, Updated 0, Skipped 0."));
    EXPECT_FALSE(form->PassRunning());
    EXPECT_FALSE(form->Unloaded);

    op.onProgress = nullptr;
    VerifyAndStart();
    EXPECT_EQ(form->InsertStoppedAt, 0);
    EXPECT_EQ(Items(), kRows);
    EXPECT_TRUE(form->LblResult.caption.startsWith("Inserted 101, Updated 1,099, Skipped 0."));
}

// A sheet written as a set is stopped before any of it is written: the
// item PLUs created for the records before the stop are taken back too.
TEST_P(StopTest, StartStoppedAsASetWritesNothingAndCanBeRunAgain) {
    form->CVerify_Click();
    CloseAt("Insert Data... 1,100 of 1,200");
    form->CStart_Click();
    ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    EXPECT_EQ(op.LastMessage(), "Insert stopped at row 1,100 of 1,200: 0 rows written.");
    EXPECT_EQ(Items(), 0);
    EXPECT_EQ(Plus(), 0);

    op.onProgress = nullptr;
    VerifyAndStart();
    EXPECT_EQ(Items(), kRows);
    EXPECT_EQ(Plus(), kRows);
    EXPECT_TRUE(form->LblResult.caption.startsWith("Inserted 1,200, Updated 0, Skipped 0."));
}

TEST_P(StopTest, AnsweringNoLetsThePassRunToTheEnd) {
    CloseAt("Processing... 5 of 1,200");
    op.yesNoAnswers = {false};
    form->CVerify_Click();
    EXPECT_EQ(op.LastMessage(), "No Error Found.");
    CloseAt("Insert Data... 5 of 1,200");
    op.yesNoAnswers = {false};
    form->CStart_Click();
    EXPECT_EQ(op.LastMessage(), "Insert Done.");
    EXPECT_EQ(Items(), kRows);
    EXPECT_EQ(op.questions.size(), 2);
}

TEST_P(StopTest, VerifyStoppedLeavesStartOffUntilAWholeVerify) {
    form->CVerify_Click();
    ASSERT_TRUE(form->CStart.enabled);
    CloseAt("Processing... 7 of 1,200");
    form->CVerify_Click();
    EXPECT_EQ(op.questions.last(),
              "Stop Verify at this row? Start stays off until a whole sheet is verified.");
    EXPECT_EQ(op.LastMessage(),
              "Verify stopped at row 7 of 1,200: press Verify again to check the whole sheet "
              "before Start.");
    EXPECT_FALSE(form->CStart.enabled);
    EXPECT_FALSE(form->PassRunning());
    EXPECT_EQ(op.progress.last(), "");
    EXPECT_EQ(Items(), 0);
    // With no pass running, Close closes again.
    op.onProgress = nullptr;
    form->CClose_Click();
    EXPECT_TRUE(form->Unloaded);
}

INSTANTIATE_ON_ENGINES(StopTest);

}  // namespace
