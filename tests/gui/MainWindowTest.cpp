#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include "WindowFixture.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"

namespace {

// What a control shows as its caption, whatever its kind.
QString Caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w)) return frame->title();
    if (auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    if (auto* box = qobject_cast<const QLineEdit*>(w)) return box->text();
    if (auto* list = qobject_cast<const QComboBox*>(w)) return list->currentText();
    if (auto* bar = qobject_cast<const QStatusBar*>(w)) return bar->findChild<QLabel*>()->text();
    return {};
}

struct ControlCase {
    const char* name;
    const char* kind;  // class name of the widget
    QString caption;
    bool enabled = true;
    bool visible = true;
};

const ControlCase kControls[] = {
    {"Frame3", "QFrame", ""},
    {"Image1", "QLabel", ""},
    {"Label7", "QLabel", "Utility"},
    {"Label12", "QLabel", "Utility - Insert Excel Data to TILL Database"},
    {"Frame1(1)", "QGroupBox", "Company List (Double Click to Show Details)"},
    {"SC(0)", "GridView", ""},
    {"Frame1(0)", "QGroupBox", "Database Details"},
    {"Label1(1)", "QLabel", "Server Name"},
    {"Label1(2)", "QLabel", "Database Name"},
    {"Label1(3)", "QLabel", "User ID"},
    {"Label1(4)", "QLabel", "Password"},
    {"TxtField(0)", "QLineEdit", ""},
    {"TxtField(1)", "QLineEdit", ""},
    {"TxtField(2)", "QLineEdit", ""},
    {"TxtField(3)", "QLineEdit", ""},
    {"LblDriver", "QLabel", "Driver"},
    {"CboDriver", "QComboBox", "SQL Server"},
    {"CSearch(2)", "QPushButton", "...", true, false},
    {"CConnect", "QPushButton", "C&onnect"},
    {"LblStatus", "QLabel", "Connected", true, false},
    {"Frame2", "QGroupBox", "Excel Details"},
    {"Label1(5)", "QLabel", "Excel File Path"},
    {"TxtField(4)", "QLineEdit", ""},
    {"CSearch(0)", "QPushButton", "..."},
    {"Label1(6)", "QLabel", "Excel Sheet Name"},
    {"LCombo(0)", "QComboBox", ""},
    {"Label1(7)", "QLabel", "Match File Name"},
    {"TxtField(5)", "QLineEdit", ""},
    {"CSearch(1)", "QPushButton", "..."},
    {"Label1(0)", "QLabel", "Match Table"},
    {"LCombo(1)", "QComboBox", ""},
    {"SC(1)", "GridView", ""},
    {"SC(2)", "GridView", ""},
    {"Label4(0)", "QLabel", "Total Line "},
    {"TxtField(7)", "QLineEdit", ""},
    {"Label4(1)", "QLabel", "Total OK Line "},
    {"TxtField(8)", "QLineEdit", ""},
    {"Label4(2)", "QLabel", "Total Error Line "},
    {"TxtField(9)", "QLineEdit", ""},
    {"Shape1(0)", "QFrame", ""},
    {"Label2(0)", "QLabel", "Blank or Null Value"},
    {"Shape1(1)", "QFrame", ""},
    {"Label2(1)", "QLabel", "Over Max Length"},
    {"Shape1(2)", "QFrame", ""},
    {"Label2(2)", "QLabel", "Cannot Accept Space/'/\"/#"},
    {"Shape1(3)", "QFrame", ""},
    {"Label2(3)", "QLabel", "Duplicate Value"},
    {"Label5", "QLabel", "*** All excel and ini file must put it at ...\\EXCEL\\"},
    {"CSave", "QPushButton", "Save"},
    {"LblProgress", "QLabel", ""},
    {"CVerify", "QPushButton", "Ve&rify", false},
    {"CStart", "QPushButton", "&Start", false},
    {"CClose", "QPushButton", "&Close"},
    {"StatusBar1", "QStatusBar", "Version - 20140704"},
    {"Line1", "QFrame", ""},
    {"Line2", "QFrame", ""},
    {"Line3", "QFrame", ""},
    {"Line4", "QFrame", ""},
};

using MainWindowTest = WindowFixture;

TEST_F(MainWindowTest, EveryControlOpensWithItsCaptionAndState) {
    for (const ControlCase& c : kControls) {
        SCOPED_TRACE(c.name);
        const QWidget* w = Find(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), c.kind);
        EXPECT_EQ(Caption(w), c.caption);
        EXPECT_EQ(w->isEnabled(), c.enabled);
        EXPECT_EQ(w->isVisible(), c.visible);
    }
}

TEST_F(MainWindowTest, HiddenStateControlsHaveNoWidget) {
    for (const char* name : {"TxtField(6)", "Text1", "HideFrame", "TABLENAME", "PRIMARYFIELD(0)",
                             "List1(0)", "SC(3)", "SC(4)", "Label3(0)", "CMD"}) {
        EXPECT_EQ(Find(name), nullptr) << name;
    }
}

TEST_F(MainWindowTest, WindowHasItsCaptionSizeAndFonts) {
    EXPECT_EQ(window.windowTitle(), "Utility - Insert Excel Data to INVT");
    EXPECT_EQ(window.size(), QSize(863, 672));
    EXPECT_DOUBLE_EQ(window.font().pointSizeF(), 8.25);
    EXPECT_EQ(window.font().family(), "Verdana");
    EXPECT_TRUE(Find("LblStatus")->font().bold());
    EXPECT_TRUE(Find("LblProgress")->font().bold());
    EXPECT_FALSE(Find("Label1(1)")->font().bold());
}

struct PlaceCase {
    const char* name;
    QRect place;  // pixels, in the window
};

TEST_F(MainWindowTest, ControlsStandWhereTheFormPlacesThem) {
    static const PlaceCase kPlaces[] = {
        {"Frame1(1)", {8, 64, 481, 129}},   {"Frame1(0)", {496, 64, 361, 129}},
        {"Frame2", {8, 200, 849, 81}},      {"TxtField(5)", {144, 296, 196, 19}},
        {"CSearch(1)", {344, 296, 25, 19}}, {"LCombo(1)", {144, 319, 225, 21}},
        {"SC(1)", {8, 344, 361, 265}},      {"SC(2)", {384, 296, 473, 241}},
        {"Shape1(3)", {384, 577, 16, 13}},  {"Shape1(2)", {696, 577, 16, 13}},
        {"CSave", {280, 616, 81, 25}},      {"CVerify", {568, 616, 89, 25}},
        {"CStart", {664, 616, 89, 25}},     {"CClose", {760, 616, 89, 25}},
    };
    for (const PlaceCase& c : kPlaces) {
        const QWidget* w = Find(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(QRect(w->mapTo(&window, QPoint(0, 0)), w->size()), c.place) << c.name;
    }
    EXPECT_EQ(Find("TxtField(4)")->width(), 673);
    const QWidget* bar = Find("StatusBar1");
    EXPECT_EQ(bar->geometry().bottom(), window.height() - 1);
}

TEST_F(MainWindowTest, LegendSwatchesShowTheVerifyColours) {
    static const struct {
        const char* name;
        QColor color;
    } kSwatches[] = {{"Shape1(0)", QColor(0xFF, 0xC0, 0xC0)},
                     {"Shape1(1)", QColor(0xFF, 0xE0, 0xC0)},
                     {"Shape1(2)", QColor(0xFF, 0xFF, 0xC0)},
                     {"Shape1(3)", QColor(0xFF, 0xC0, 0xFF)}};
    const QImage shot = window.grab().toImage();
    for (const auto& s : kSwatches) {
        const QWidget* swatch = Find(s.name);
        const QPoint centre = swatch->mapTo(&window, swatch->rect().center());
        EXPECT_EQ(shot.pixelColor(centre * shot.devicePixelRatio()), s.color) << s.name;
    }
}

TEST_F(MainWindowTest, TextBoxesKeepTheirLengthsAndMasks) {
    static const struct {
        int index;
        int maxLength;
        bool password;
        bool readOnly;
    } kBoxes[] = {{0, 100, false, false}, {1, 100, false, false},   {2, 10, false, false},
                  {3, 10, true, false},   {4, 32767, false, false}, {5, 32767, false, false},
                  {7, 10, false, true},   {8, 32767, false, true},  {9, 32767, false, true}};
    for (const auto& b : kBoxes) {
        const auto* box = Find<QLineEdit>(QString("TxtField(%1)").arg(b.index));
        ASSERT_NE(box, nullptr) << b.index;
        EXPECT_EQ(box->maxLength(), b.maxLength) << b.index;
        EXPECT_EQ(box->echoMode() == QLineEdit::Password, b.password) << b.index;
        EXPECT_EQ(box->isReadOnly(), b.readOnly) << b.index;
    }
    auto* password = Find<QLineEdit>("TxtField(3)");
    QTest::keyClicks(password, "secret");
    EXPECT_EQ(password->displayText(), "******");
    EXPECT_EQ(form.TxtField[3].text, "secret");
}

TEST_F(MainWindowTest, TypingAndChoosingWriteTheModelAtOnce) {
    QTest::keyClicks(Find("TxtField(1)"), "SHOPDB");
    EXPECT_EQ(form.TxtField[1].text, "SHOPDB");
    Find<QComboBox>("CboDriver")->setCurrentIndex(2);
    EXPECT_EQ(form.CboDriver.listIndex, 2);
    EXPECT_TRUE(op.messages.isEmpty());
}

TEST_F(MainWindowTest, SyncShowsTheModelsState) {
    form.TxtField[0].text = "SERVER1";
    form.LblStatus.visible = true;
    form.CVerify.enabled = true;
    form.CSearch[2].visible = true;
    form.LCombo[0].items = {"Sheet1$", "Items$"};
    form.LCombo[0].listIndex = 1;
    form.LblProgress.caption = "Processing... 1 of 2";
    window.Sync();
    EXPECT_EQ(Find<QLineEdit>("TxtField(0)")->text(), "SERVER1");
    EXPECT_TRUE(Find("LblStatus")->isVisible());
    EXPECT_TRUE(Find("CVerify")->isEnabled());
    EXPECT_TRUE(Find("CSearch(2)")->isVisible());
    EXPECT_EQ(Find<QComboBox>("LCombo(0)")->count(), 2);
    EXPECT_EQ(Find<QComboBox>("LCombo(0)")->currentText(), "Items$");
    EXPECT_EQ(Find<QLabel>("LblProgress")->text(), "Processing... 1 of 2");
    EXPECT_EQ(Find<QComboBox>("LCombo(1)")->count(), form.LCombo[1].items.size());
}

TEST_F(MainWindowTest, ButtonsRunTheirHandlersAndTheWindowShowsTheOutcome) {
    QTest::mouseClick(Find("CConnect"), Qt::LeftButton);
    ASSERT_EQ(op.messages.size(), 1);
    EXPECT_EQ(op.messages[0].text, "Invalid Server Name !!!");
    EXPECT_EQ(op.focus, QStringList{"TxtField(0)"});

    form.CVerify.enabled = true;
    window.Sync();
    QTest::mouseClick(Find("CVerify"), Qt::LeftButton);
    EXPECT_EQ(op.LastMessage(), "Please Select Table to Continue Verify.");
}

TEST_F(MainWindowTest, AfterAHandlerTheWindowShowsWhatItChanged) {
    // Connect with its four fields given disables Start, whatever the
    // connection itself then does.
    form.CStart.enabled = true;
    window.Sync();
    ASSERT_TRUE(Find("CStart")->isEnabled());
    Find<QComboBox>("CboDriver")->setCurrentIndex(2);
    QTest::keyClicks(Find("TxtField(0)"), "localhost");
    QTest::keyClicks(Find("TxtField(1)"), dir.path() + "/shop.db");
    QTest::keyClicks(Find("TxtField(2)"), "sa");
    QTest::keyClicks(Find("TxtField(3)"), "pw");
    QTest::mouseClick(Find("CConnect"), Qt::LeftButton);
    EXPECT_FALSE(form.CStart.enabled);
    EXPECT_FALSE(Find("CStart")->isEnabled());
    EXPECT_EQ(Find("LblStatus")->isVisible(), form.LblStatus.visible);
    EXPECT_EQ(Find("CVerify")->isEnabled(), form.CVerify.enabled);
}

TEST_F(MainWindowTest, CloseButtonUnloadsTheFormAndClosesTheWindow) {
    QTest::mouseClick(Find("CClose"), Qt::LeftButton);
    EXPECT_TRUE(form.Unloaded);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_TRUE(op.errors.isEmpty());
}

TEST_F(MainWindowTest, ClosingTheWindowUnloadsTheForm) {
    window.close();
    EXPECT_TRUE(form.Unloaded);
    EXPECT_TRUE(op.errors.isEmpty());
}

TEST_F(MainWindowTest, AnSqliteFileNeedsOnlyItsPathHoweverLong) {
    const QString folder = dir.path() + "/" + QString("tills/").repeated(20);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "shop.db";
    ASSERT_GT(path.size(), 100);
    CreateDemoSchema(*DbConnection::Connect(SqliteTarget(path), DbConnection::SqliteFile::Create));
    const QStringList serverOnly{"TxtField(0)", "TxtField(2)", "TxtField(3)"};
    auto* driver = Find<QComboBox>("CboDriver");

    driver->setCurrentIndex(Minsert::kSqliteDriver);
    EXPECT_TRUE(Find("CSearch(2)")->isVisible());
    for (const QString& name : serverOnly)
        EXPECT_FALSE(Find(name)->isEnabled()) << name.toStdString();
    QTest::keyClicks(Find("TxtField(1)"), path);
    EXPECT_EQ(form.TxtField[1].text, path);
    QTest::mouseClick(Find("CConnect"), Qt::LeftButton);
    EXPECT_TRUE(op.errors.isEmpty()) << op.errors.value(0).ErrDescription.toStdString();
    EXPECT_TRUE(Find("LblStatus")->isVisible());

    driver->setCurrentIndex(Minsert::kSqlServerDriver);
    EXPECT_FALSE(Find("CSearch(2)")->isVisible());
    for (const QString& name : serverOnly)
        EXPECT_TRUE(Find(name)->isEnabled()) << name.toStdString();
    EXPECT_EQ(Find<QLineEdit>("TxtField(1)")->maxLength(), 100);
}

TEST_F(MainWindowTest, LeavingTheTillFieldEditorWithoutAChoiceKeepsTheMapping) {
    const QString target = SqliteTarget(dir.path() + "/till.db");
    CreateDemoSchema(*DbConnection::Connect(target, DbConnection::SqliteFile::Create));
    form.ConnectTarget(target);
    form.LCombo[1].listIndex = form.List1[0].items.indexOf("MT_ITEM");
    form.LCombo_Click(1);
    Grid& mapping = *form.SC[1];
    mapping.SetCols(3);
    mapping.SetRows(2);
    mapping.SetCellText(0, 0, "Code");
    mapping.SetCellText(1, 0, "Name");
    form.LoadHeader(1);
    mapping.SetCellText(0, 1, "ITEMCODE");
    form.SC_AfterEdit(1);
    window.Sync();
    QApplication::processEvents();  // the view lays out its new rows

    auto* view = Find<QTableView>("SC(1)");
    const QPoint cell = view->visualRect(mapping.index(0, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
    auto* editor = view->findChild<QComboBox*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->currentText(), "ITEMCODE");
    Find("TxtField(0)")->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(mapping.CellText(0, 1), "ITEMCODE");
    EXPECT_EQ(form.UsedFieldList, "'ITEMCODE'");
    EXPECT_TRUE(op.errors.isEmpty());
}

TEST_F(MainWindowTest, TextBoxesSelectTheirWholeTextOnFocus) {
    form.TxtField[2].text = "ADMIN";
    window.Sync();
    auto* box = Find<QLineEdit>("TxtField(2)");
    box->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(box->selectedText(), "ADMIN");
}

}  // namespace
