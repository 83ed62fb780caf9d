#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "QStringPrinter.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "gui/QtOperator.h"
#include "gui/TrerrDialog.h"

namespace {

// A window with two named controls and the progress label, and an operator
// attached to it that counts how often it brought the window up to date.
class QtOperatorTest : public testing::Test {
protected:
    void SetUp() override {
        auto* first = new QLineEdit(&window);
        first->setObjectName("TxtField(0)");
        auto* second = new QLineEdit(&window);
        second->setObjectName("TxtField(4)");
        second->move(0, 30);
        auto* progress = new QLabel(&window);
        progress->setObjectName("LblProgress");
        progress->move(0, 60);
        auto* bar = new QProgressBar(&window);
        bar->setObjectName("ProgressBar");
        bar->setRange(0, 1000);
        bar->move(0, 80);
        window.resize(200, 100);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        op.Attach(&window, [this] { ++syncs; });
    }

    // Runs check on the modal dialog op opens, once it is up.
    template <class Dialog>
    void WhenOpen(std::function<void(Dialog&)> check) {
        QTimer::singleShot(0, &window, [check] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            check(*dialog);
        });
    }

    QWidget window;
    QtOperator op;
    int syncs = 0;
};

TEST_F(QtOperatorTest, MessageBoxesCarryTitleTextAndIcon) {
    static const struct {
        MsgIcon icon;
        QMessageBox::Icon shown;
    } kIcons[] = {{MsgIcon::Critical, QMessageBox::Critical},
                  {MsgIcon::Exclamation, QMessageBox::Warning},
                  {MsgIcon::Question, QMessageBox::Question},
                  {MsgIcon::Information, QMessageBox::Information},
                  {MsgIcon::None, QMessageBox::NoIcon}};
    for (const auto& c : kIcons) {
        WhenOpen<QMessageBox>([&c](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Message");
            EXPECT_EQ(box.text(), "Insert Done.");
            EXPECT_EQ(box.icon(), c.shown);
            box.button(QMessageBox::Ok)->click();
        });
        op.MsgBox("Insert Done.", c.icon, "Message");
    }
    EXPECT_EQ(syncs, 5);
}

TEST_F(QtOperatorTest, TheQuestionAnswersYesOrNo) {
    for (const auto answer : {QMessageBox::Yes, QMessageBox::No}) {
        WhenOpen<QMessageBox>([answer](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), "Question");
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Yes));
            box.button(answer)->click();
        });
        EXPECT_EQ(op.AskYesNo("Confirm to Start Insert Data WITHOUT Error Data ?", "Question"),
                  answer == QMessageBox::Yes);
    }
}

TEST_F(QtOperatorTest, TheInputBoxAnswersTheTextOrNothingWhenCancelled) {
    WhenOpen<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.windowTitle(), "Save File As");
        EXPECT_EQ(box.labelText(), "Please Key in a Match File Name to Save.");
        box.setTextValue("ITEMMATCH");
        box.accept();
    });
    EXPECT_EQ(op.InputBox("Please Key in a Match File Name to Save.", "Save File As", ""),
              std::optional<QString>("ITEMMATCH"));
    WhenOpen<QInputDialog>([](QInputDialog& box) { box.reject(); });
    EXPECT_EQ(op.InputBox("Please Key in a Match File Name to Save.", "Save File As", ""),
              std::nullopt);
}

TEST_F(QtOperatorTest, ErrorsShowInTheErrorDialog) {
    ErrorVariables e;
    e.ErrFormName = "MINSERT";
    e.ErrNumber = 3704;
    e.ErrDescription = "Operation is not allowed when the object is closed.";
    e.ErrProcName = "View_Data";
    WhenOpen<TrerrDialog>([](TrerrDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("ErrCode")->text(), "3704");
        EXPECT_EQ(dialog.findChild<QLabel*>("ErrSub")->text(), "View_Data");
        EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("ErrTxt")->toPlainText(),
                  "Operation is not allowed when the object is closed.");
        dialog.findChild<QPushButton*>("CClose")->click();
    });
    op.ShowError(e);
    EXPECT_EQ(syncs, 1);
}

// A mistake of the input is no failure of the program: a plain message
// says what is wrong, without the error dialog's call for support.
TEST_F(QtOperatorTest, AnInputMistakeShowsAPlainMessage) {
    ErrorVariables e;
    e.ErrNumber = 76;
    e.ErrDescription = "The SQLite database file does not exist: /tmp/x.db";
    e.ErrInputMistake = true;
    WhenOpen<QMessageBox>([&e](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Message");
        EXPECT_EQ(box.text(), e.ErrDescription);
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        box.button(QMessageBox::Ok)->click();
    });
    op.ShowError(e);
}

TEST_F(QtOperatorTest, TheFileDialogUsesTitleFolderAndFilter) {
    QTemporaryDir dir;
    WhenOpen<QFileDialog>([&dir](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Open Excel (.xls)");
        EXPECT_EQ(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Excel Files (*.xls)"});
        dialog.reject();
    });
    EXPECT_EQ(op.OpenFile("Open Excel (.xls)", dir.path(), "Excel Files (*.xls)|*.xls"), "");
    // A file chosen is the answer.
    const QString book = QDir(dir.path()).absoluteFilePath("Book.xls");
    QFile(book).open(QIODevice::WriteOnly);
    WhenOpen<QFileDialog>([&book](QFileDialog& dialog) {
        dialog.selectFile(book);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(op.OpenFile("Open Excel (.xls)", dir.path(), "Excel Files (*.xls)|*.xls"), book);
}

// Whether another process would find a lock on the file: a child process
// asks, since a process never sees its own POSIX locks as conflicts.
bool LockedForOthers(const QString& path) {
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(QFile::encodeName(path).constData(), O_RDWR);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;  // the whole file
        const bool locked = fd >= 0 && fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
        _exit(locked ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Listing the folder of an SQLite database must not open its files: closing
// any handle on a file drops every lock the process holds on it, and another
// program's reader would then take the write-ahead log the window still
// writes to for its own and delete it.
TEST_F(QtOperatorTest, AFileDialogOnTheDatabaseFolderKeepsTheDatabaseLocks) {
    QTemporaryDir dir;
    const auto db = DbConnection::Connect(SqliteTarget(dir.filePath("till.db")),
                                          DbConnection::SqliteFile::Create);
    db->Execute("Create Table T (A Integer)");
    const QString shm = dir.filePath("till.db-shm");
    ASSERT_TRUE(LockedForOthers(shm)) << "an open database holds a lock on its shared memory";
    for (const char* filter : {"SQLite Files (*.db)|*.db", "All Files (*)|*"}) {
        SCOPED_TRACE(filter);
        WhenOpen<QFileDialog>([](QFileDialog& dialog) {
            // Let the dialog list the folder and show each file's icon and type.
            QTest::qWait(1000);
            dialog.reject();
        });
        op.OpenFile("Database", dir.path(), filter);
        EXPECT_TRUE(LockedForOthers(shm));
    }
}

TEST_F(QtOperatorTest, FocusMovesToTheNamedControl) {
    op.SetFocus("TxtField(4)");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "TxtField(4)");
    op.SetFocus("NoSuchControl");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "TxtField(4)");
}

TEST_F(QtOperatorTest, ProgressShowsInTheLabelAtOnce) {
    op.Progress("Processing... 1 of 3");
    EXPECT_EQ(window.findChild<QLabel*>("LblProgress")->text(), "Processing... 1 of 3");
    EXPECT_EQ(syncs, 0);
}

// A pass's counts show in a bar: the rows done and, once rows have gone by,
// rows a second and the time left; a step without counts hides it.
TEST_F(QtOperatorTest, AProgressBarShowsRowsDoneRateAndTimeLeft) {
    auto* bar = window.findChild<QProgressBar*>("ProgressBar");
    op.Progress("Insert Data... 100 of 2,000");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(bar->format(), "100 of 2,000");
    QTest::qWait(200);
    op.Progress("Insert Data... 1,100 of 2,000");
    EXPECT_EQ(bar->value(), 550);
    EXPECT_TRUE(QRegularExpression(R"(^1,100 of 2,000, \d+ rows/s, 0:0\d left$)")
                    .match(bar->format())
                    .hasMatch())
        << bar->format().toStdString();
    op.Progress("Committing...");
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
