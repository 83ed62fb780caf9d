#include "WindowFixture.h"

namespace {

QString Focused() {
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

// Enter and Up arrow are queued moves, made after the control had the key.
void Press(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    QApplication::processEvents();
}

// The order Enter walks at start-up: Verify and Start are disabled and the
// database browse button hidden, so the walk passes over them.
const QStringList kWalk = {"TxtField(0)", "TxtField(1)", "TxtField(2)", "TxtField(3)", "CConnect",
                           "TxtField(4)", "LCombo(0)",   "TxtField(5)", "LCombo(1)",   "SC(1)",
                           "CSave",       "CClose",      "CSearch(0)",  "SC(0)",       "SC(2)",
                           "CSearch(1)",  "TxtField(7)", "TxtField(8)", "TxtField(9)", "CboDriver"};

using FocusOrderTest = WindowFixture;

TEST_F(FocusOrderTest, EnterWalksForwardAndUpWalksBack) {
    ASSERT_EQ(Focused(), kWalk[0]);
    for (qsizetype i = 1; i < kWalk.size(); ++i) {
        Press(Qt::Key_Return);
        ASSERT_EQ(Focused(), kWalk[i]) << "Enter after " << kWalk[i - 1].toStdString();
    }
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), kWalk[0]) << "the walk wraps round";
    for (qsizetype i = kWalk.size() - 1; i >= 0; --i) {
        Press(Qt::Key_Up);
        ASSERT_EQ(Focused(), kWalk[i]) << "Up at step " << i;
    }
}

TEST_F(FocusOrderTest, EnabledAndShownControlsJoinTheWalk) {
    form.CVerify.enabled = true;
    form.CStart.enabled = true;
    form.CSearch[Minsert::kBrowseSqlite].visible = true;
    window.Sync();
    Find("CSave")->setFocus();
    for (const char* next : {"CVerify", "CStart", "CClose"}) {
        Press(Qt::Key_Enter);
        EXPECT_EQ(Focused(), next);
    }
    Find("CboDriver")->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), "CSearch(2)");
}

TEST_F(FocusOrderTest, LeavingTheWorkbookPathValidatesIt) {
    // Only the workbook path reacts to being left: a workbook that does not
    // exist is reported, and the walk goes on.
    const auto told = [&] { return op.messages.size() + op.errors.size(); };
    Find("TxtField(3)")->setFocus();
    Press(Qt::Key_Return);
    Press(Qt::Key_Return);
    ASSERT_EQ(Focused(), "TxtField(4)");
    EXPECT_EQ(told(), 0);
    QTest::keyClicks(Find("TxtField(4)"), dir.path() + "/missing.xls");
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), "LCombo(0)");
    EXPECT_GT(told(), 0);
}

}  // namespace
