#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QStringPrinter.h"
#include "gui/TrerrDialog.h"

namespace {

ErrorVariables ConnectFailure() {
    ErrorVariables e;
    e.ErrFormName = "MINSERT";
    e.ErrNumber = -2147467259;
    e.ErrDescription = "Login failed.\nServer not found.";
    e.ErrProcName = "ConnectDSN";
    return e;
}

template <class T = QWidget>
T* Child(const QWidget& parent, const char* name) {
    return parent.findChild<T*>(name);
}

TEST(TrerrDialog, ShowsTheFourVariablesInItsFields) {
    TrerrDialog dialog(ConnectFailure());
    EXPECT_EQ(Child<QLabel>(dialog, "ErrCode")->text(), "-2147467259");
    EXPECT_EQ(Child<QLabel>(dialog, "ErrForm")->text(), "MINSERT");
    EXPECT_EQ(Child<QLabel>(dialog, "ErrSub")->text(), "ConnectDSN");
    auto* text = Child<QPlainTextEdit>(dialog, "ErrTxt");
    EXPECT_EQ(text->toPlainText(), "Login failed.\nServer not found.");
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->font().bold());
    EXPECT_EQ(text->geometry(), QRect(8, 184, 409, 137));
}

TEST(TrerrDialog, HasItsCaptionSizeAndFixedTexts) {
    TrerrDialog dialog(ConnectFailure());
    EXPECT_EQ(dialog.windowTitle(), "Error Message");
    EXPECT_EQ(dialog.size(), QSize(425, 361));
    static const struct {
        const char* name;
        const char* text;
        QPoint place;
    } kLabels[] = {
        {"Label3",
         "Sorry for the inconvenience, the program has encountered an error while executing "
         "certain task.",
         {16, 16}},
        {"Label4",
         "Note down the below error code and message and contact your system support.",
         {16, 48}},
        {"Label1", "Error Code", {16, 96}},
        {"ErrCode", "-2147467259", {120, 96}},
        {"Label6", "Form", {16, 120}},
        {"ErrForm", "MINSERT", {120, 120}},
        {"Label5", "Sub", {16, 144}},
        {"ErrSub", "ConnectDSN", {120, 144}},
        {"Label2", "Message : -", {16, 168}},
    };
    for (const auto& l : kLabels) {
        const auto* label = Child<QLabel>(dialog, l.name);
        ASSERT_NE(label, nullptr) << l.name;
        EXPECT_EQ(label->text(), l.text) << l.name;
        EXPECT_EQ(label->pos(), l.place) << l.name;
    }
    const auto* button = Child<QPushButton>(dialog, "CClose");
    EXPECT_EQ(button->text(), "&Continue");
    EXPECT_EQ(button->pos(), QPoint(328, 328));
}

TEST(TrerrDialog, ContinueHasTheFocusAndEndsTheDialog) {
    TrerrDialog dialog(ConnectFailure());
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.focusWidget(), Child(dialog, "CClose"));
        QTest::keyClick(Child(dialog, "CClose"), Qt::Key_Space);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

TEST(TrerrDialog, TheCloseBoxEndsTheDialogLikeContinue) {
    TrerrDialog dialog(ConnectFailure());
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
    dialog.exec();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(TrerrDialog, AMissingNumberShowsAnEmptyCode) {
    ErrorVariables e = ConnectFailure();
    e.ErrNumber.reset();
    TrerrDialog dialog(e);
    EXPECT_EQ(Child<QLabel>(dialog, "ErrCode")->text(), "");
}

}  // namespace
