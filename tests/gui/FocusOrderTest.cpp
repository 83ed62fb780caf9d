#include <QAbstractButton>

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

// One step of the walk: Enter, but Tab on a button, where Enter presses it;
// Tab follows the same order.
void Step() {
    Press(qobject_cast<QAbstractButton*>(QApplication::focusWidget()) ? Qt::Key_Tab
                                                                      : Qt::Key_Return);
}

// The order Enter walks at start-up, as the controls stand on screen: Verify
// and Start are disabled and the database browse button hidden, so the walk
// passes over them.
const QStringList kWalk = {
    "TxtField(0)", "TxtField(1)", "TxtField(2)",     "TxtField(3)", "CboDriver",  "CConnect",
    "TxtField(4)", "LCombo(0)",   "TxtField(5)",     "LCombo(1)",   "SC(1)",      "CSave",
    "CClose",      "CSearch(0)",  "SC(0)",           "SC(2)",       "CSearch(1)", "TxtField(7)",
    "TxtField(8)", "TxtField(9)", "OpenExcelFolder", "About"};

using FocusOrderTest = WindowFixture;

TEST_F(FocusOrderTest, EnterWalksForwardAndUpWalksBack) {
    ASSERT_EQ(Focused(), kWalk[0]);
    for (qsizetype i = 1; i < kWalk.size(); ++i) {
        Step();
        ASSERT_EQ(Focused(), kWalk[i]) << "Enter after " << kWalk[i - 1].toStdString();
    }
    Step();
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
        Step();
        EXPECT_EQ(Focused(), next);
    }
    // The browse button stands beside the database name.
    Find("TxtField(1)")->setFocus();
    Step();
    EXPECT_EQ(Focused(), "CSearch(2)");
    Step();
    EXPECT_EQ(Focused(), "TxtField(2)");
}

// Enter and the keypad's Enter on a focused button press it, and the focus
// stays for the handler to move.
TEST_F(FocusOrderTest, EnterOnAButtonPressesIt) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        op.messages.clear();
        Find("CConnect")->setFocus();
        Press(key);
        ASSERT_EQ(op.messages.size(), 1);
        EXPECT_EQ(op.messages[0].text, "Invalid Server Name !!!");
    }
    Find("CClose")->setFocus();
    Press(Qt::Key_Return);
    EXPECT_TRUE(form.Unloaded);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FocusOrderTest, LeavingTheWorkbookPathValidatesIt) {
    // Only the workbook path reacts to being left: a workbook that does not
    // exist is reported, and the walk goes on.
    const auto told = [&] { return op.messages.size() + op.errors.size(); };
    Find("TxtField(3)")->setFocus();
    for (int i = 0; i < 3; ++i) Step();
    ASSERT_EQ(Focused(), "TxtField(4)");
    EXPECT_EQ(told(), 0);
    QTest::keyClicks(Find("TxtField(4)"), dir.path() + "/missing.xls");
    Press(Qt::Key_Return);
    EXPECT_EQ(Focused(), "LCombo(0)");
    EXPECT_GT(told(), 0);
}

}  // namespace
