#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <array>
#include <iterator>
#include <utility>
#include <vector>

#include "TestWorkbook.h"
#include "WindowFixture.h"
#include "base/BgrColor.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"
#include "gui/GridView.h"
#include "gui/Help.h"
#include "gui/WindowPlacement.h"
#include "validation/VerifyPass.h"

namespace {

// The caption a label, a frame or the status bar shows.
QString Caption(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* frame = qobject_cast<const QGroupBox*>(w)) return frame->title();
    if (auto* bar = qobject_cast<const QStatusBar*>(w)) return bar->findChild<QLabel*>()->text();
    return {};
}

QString Indexed(const char* name, int index) { return QString("%1(%2)").arg(name).arg(index); }

template <class Model>
using Bound = std::vector<std::pair<QString, Model*>>;

// The window over the form, with the model's controls by the names of the
// widgets that show them.
class MainWindowTest : public WindowFixture {
protected:
    // Captions: labels, frames and the rest that show a Label.
    Bound<Label> Labels() {
        Bound<Label> labels{{"Label7", &form.Label7},           {"Label12", &form.Label12},
                            {"Frame2", &form.Frame2},           {"LblDriver", &form.LblDriver},
                            {"LblStatus", &form.LblStatus},     {"Label5", &form.Label5},
                            {"LblProgress", &form.LblProgress}, {"LblResult", &form.LblResult}};
        AddIndexed(labels, "Frame1", form.Frame1);
        AddIndexed(labels, "Label1", form.Label1);
        AddIndexed(labels, "Label4", form.Label4);
        AddIndexed(labels, "Label2", form.Label2);
        return labels;
    }
    Bound<Button> Buttons() {
        Bound<Button> buttons{{"CConnect", &form.CConnect},
                              {"CSave", &form.CSave},
                              {"CVerify", &form.CVerify},
                              {"CStart", &form.CStart},
                              {"CClose", &form.CClose}};
        AddIndexed(buttons, "CSearch", form.CSearch);
        return buttons;
    }
    // The mapping grid of MT_ITEM on a fresh demo database, one row a sheet
    // column, before any TILL Field is chosen.
    Grid& ItemMapping(const QStringList& excelFields) {
        const QString target = SqliteTarget(dir.path() + "/till.db");
        CreateDemoSchema(*DbConnection::Connect(target, DbConnection::SqliteFile::Create));
        form.ConnectTarget(target);
        EXPECT_TRUE(form.ChooseTable("MT_ITEM"));
        Grid& mapping = *form.SC[Minsert::kMappingGrid];
        mapping.SetCols(3);
        mapping.SetRows(int(excelFields.size()));
        for (int i = 0; i < excelFields.size(); ++i) mapping.SetCellText(i, 0, excelFields[i]);
        form.LoadHeader(Minsert::kMappingGrid);
        return mapping;
    }
    Bound<ListControl> Lists() {
        Bound<ListControl> lists{{"CboDriver", &form.CboDriver}};
        AddIndexed(lists, "LCombo", form.LCombo);
        return lists;
    }
    // Every text box but the workbook name, which holds state and is never shown.
    Bound<TextBox> Boxes() {
        Bound<TextBox> boxes;
        AddIndexed(boxes, "TxtField", form.TxtField);
        boxes.erase(boxes.begin() + Minsert::kWorkbookName);
        return boxes;
    }
    Bound<Swatch> Swatches() {
        Bound<Swatch> swatches;
        AddIndexed(swatches, "Shape1", form.Shape1);
        return swatches;
    }

    // Gives every control a state it did not have: new texts, entries and
    // colours that differ from control to control, and each flag turned over.
    void ChangeEveryControl(int round) {
        const QString tag = " #" + QString::number(round);
        form.Caption = "Window" + tag;
        form.StatusBar1.caption = "Status" + tag;
        for (auto& [name, label] : Labels()) {
            label->caption = name + tag;
            label->visible = !label->visible;
        }
        for (auto& [name, button] : Buttons()) {
            button->caption = name + tag;
            button->enabled = !button->enabled;
            button->visible = !button->visible;
        }
        for (auto& [name, list] : Lists()) {
            list->items = {name + tag + " a", name + tag + " b", name + tag + " c"};
            list->listIndex = round == 1 ? 2 : -1;
        }
        int i = 0;
        for (auto& [name, box] : Boxes()) {
            box->text = name + tag;
            box->maxLength = 40 + 10 * round + i++;
            box->enabled = !box->enabled;
            box->visible = !box->visible;
            box->locked = !box->locked;
            box->password = !box->password;
        }
        i = 0;
        for (auto& [name, swatch] : Swatches()) swatch->color = 0x204060 * round + 0x10 * i++;
    }

    // Every widget shows the state of its control in the model.
    void ExpectWindowShowsModel() {
        EXPECT_EQ(window.windowTitle(), form.Caption);
        EXPECT_EQ(Caption(Find("StatusBar1")), form.StatusBar1.caption);
        for (const auto& [name, label] : Labels()) {
            SCOPED_TRACE(name.toStdString());
            const QWidget* w = Find(name);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(Caption(w), label->caption);
            EXPECT_EQ(w->isHidden(), !label->visible);
        }
        for (const auto& [name, button] : Buttons()) {
            SCOPED_TRACE(name.toStdString());
            const auto* w = Find<QPushButton>(name);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->text(), button->caption);
            EXPECT_EQ(w->isEnabled(), button->enabled);
            EXPECT_EQ(w->isHidden(), !button->visible);
        }
        for (const auto& [name, list] : Lists()) {
            SCOPED_TRACE(name.toStdString());
            const auto* w = Find<QComboBox>(name);
            ASSERT_NE(w, nullptr);
            QStringList items;
            for (int i = 0; i < w->count(); ++i) items << w->itemText(i);
            EXPECT_EQ(items, list->items);
            EXPECT_EQ(w->currentIndex(), list->listIndex);
        }
        for (const auto& [name, box] : Boxes()) {
            SCOPED_TRACE(name.toStdString());
            const auto* w = Find<QLineEdit>(name);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->text(), box->text);
            // A box without a limit takes as much as a line edit can hold.
            EXPECT_EQ(w->maxLength(), box->maxLength > 0 ? box->maxLength : 32767);
            EXPECT_EQ(w->isEnabled(), box->enabled);
            EXPECT_EQ(w->isHidden(), !box->visible);
            EXPECT_EQ(w->isReadOnly(), box->locked);
            EXPECT_EQ(w->echoMode() == QLineEdit::Password, box->password);
        }
        for (const auto& [name, swatch] : Swatches()) {
            const QWidget* w = Find(name);
            ASSERT_NE(w, nullptr) << name.toStdString();
            EXPECT_EQ(w->palette().color(QPalette::Window), FromBgr(swatch->color))
                << name.toStdString();
        }
        for (int i = 0; i < 3; ++i) {
            const auto* view = Find<GridView>(Indexed("SC", i));
            ASSERT_NE(view, nullptr) << i;
            EXPECT_EQ(&view->Model(), form.SC[i].get()) << i;
        }
    }

private:
    template <class Model, std::size_t N>
    static void AddIndexed(Bound<Model>& bound, const char* name, std::array<Model, N>& models) {
        for (std::size_t i = 0; i < N; ++i)
            bound.emplace_back(Indexed(name, static_cast<int>(i)), &models[i]);
    }
};

TEST_F(MainWindowTest, EveryControlOpensShowingItsModel) { ExpectWindowShowsModel(); }

TEST_F(MainWindowTest, EveryControlFollowsItsModelBothWays) {
    // No control keeps the focus, so hiding them runs no handler.
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    for (int round : {1, 2}) {
        SCOPED_TRACE(round);
        ChangeEveryControl(round);
        window.Sync();
        ExpectWindowShowsModel();
    }
    EXPECT_TRUE(op.messages.isEmpty());
    EXPECT_TRUE(op.errors.isEmpty());
}

TEST_F(MainWindowTest, HiddenStateControlsHaveNoWidget) {
    for (const char* name : {"TxtField(6)", "Text1", "HideFrame", "TABLENAME", "PRIMARYFIELD(0)",
                             "List1(0)", "SC(3)", "SC(4)", "Label3(0)", "CMD"}) {
        EXPECT_EQ(Find(name), nullptr) << name;
    }
}

// Each control lies inside the window, or inside the frame that holds it,
// and covers no other, hidden ones included: a control under another can be
// neither read nor clicked. So at the designed size and in a grown window.
TEST_F(MainWindowTest, ControlsLieInsideTheirFrameAndDoNotOverlap) {
    QWidget* banner = Find("Frame3");
    const QList<QWidget*> containers{&window, banner, Find("Frame1(0)"), Find("Frame1(1)"),
                                     Find("Frame2")};
    for (const QSize size : {window.minimumSize(), QSize(1500, 1100)})
        for (QWidget* container : containers) {
            window.resize(size);
            SCOPED_TRACE(size.width());
            ASSERT_NE(container, nullptr);
            const QList<QWidget*> controls =
                container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
            for (qsizetype a = 0; a < controls.size(); ++a) {
                const QWidget* w = controls[a];
                const std::string name = w->objectName().toStdString();
                // The banner strip runs off the window's right edge so that it
                // shows no border there.
                if (w == banner)
                    EXPECT_GE(w->geometry().right(), window.rect().right());
                else
                    EXPECT_TRUE(container->rect().contains(w->geometry())) << name;
                for (qsizetype b = a + 1; b < controls.size(); ++b)
                    EXPECT_FALSE(w->geometry().intersects(controls[b]->geometry()))
                        << name << " and " << controls[b]->objectName().toStdString();
            }
        }
}

// The swatch beside each caption of the legend shows the colour Verify gives
// a cell with that kind of error, the colour the result grid shows it in.
TEST_F(MainWindowTest, TheLegendShowsTheColourOfEachVerifyError) {
    static const struct {
        const ErrorKind& kind;
        const char* caption;
    } kLegend[] = {{kNullValue, "Blank or Null Value"},
                   {kDuplicateValue, "Duplicate Value"},
                   {kOverMaxLength, "Over Max Length"},
                   {kStringError, "Cannot Accept Space/'/\"/#"},
                   {kInvalidValue, "Not A Valid Value"}};
    constexpr int kKinds = std::size(kLegend);
    Grid& results = *form.SC[Minsert::kResultGrid];
    results.SetCols(kKinds);
    results.SetRows(1);
    for (int k = 0; k < kKinds; ++k) results.SetCellBackColor(0, k, kLegend[k].kind.color);
    window.Sync();
    QApplication::processEvents();  // the view lays out its new row
    auto* view = Find<QTableView>("SC(2)");
    const QImage shot = window.grab().toImage();
    const auto pixel = [&](const QWidget* w, QPoint at) {
        return shot.pixelColor(w->mapTo(&window, at) * shot.devicePixelRatio());
    };
    const QList<QWidget*> swatches = window.findChildren<QWidget*>(QRegularExpression("^Shape1"));
    ASSERT_EQ(swatches.size(), kKinds);

    for (int k = 0; k < kKinds; ++k) {
        const auto& [kind, caption] = kLegend[k];
        SCOPED_TRACE(caption);
        const QLabel* label = nullptr;
        for (const QLabel* l : window.findChildren<QLabel*>())
            if (l->text() == caption) label = l;
        ASSERT_NE(label, nullptr);
        // The nearest swatch to the caption's left, on its line.
        const QWidget* swatch = nullptr;
        for (const QWidget* s : swatches) {
            const QRect r = s->geometry();
            if (r.right() < label->x() && r.bottom() >= label->y() &&
                r.top() <= label->geometry().bottom() && (!swatch || r.x() > swatch->x()))
                swatch = s;
        }
        ASSERT_NE(swatch, nullptr);
        // &HBBGGRR: red is the low byte.
        const QColor colour(kind.color & 0xFF, (kind.color >> 8) & 0xFF, kind.color >> 16);
        EXPECT_EQ(pixel(swatch, swatch->rect().center()), colour);
        view->scrollTo(results.index(0, k));
        const QRect cell = view->visualRect(results.index(0, k));
        ASSERT_TRUE(view->viewport()->rect().contains(cell));
        const QImage cells = view->viewport()->grab().toImage();
        EXPECT_EQ(cells.pixelColor(cell.center() * cells.devicePixelRatio()), colour);
    }
}

// Typing stops at the length the model sets; a display-only box takes no
// typing; a password shows a star for each character.
TEST_F(MainWindowTest, TextBoxesTakeWhatTheModelAllows) {
    for (const auto& [name, box] : Boxes()) {
        SCOPED_TRACE(name.toStdString());
        const QString before = box->text;
        if (box->locked) {
            QTest::keyClicks(Find(name), "typed");
            EXPECT_EQ(box->text, before);
        } else if (box->maxLength > 0) {
            QTest::keyClicks(Find(name), QString(box->maxLength + 3, u'x'));
            EXPECT_EQ(box->text, QString(box->maxLength, u'x'));
        }
    }
    auto* password = Find<QLineEdit>("TxtField(3)");
    password->clear();
    QTest::keyClicks(password, "secret");
    EXPECT_EQ(password->displayText(), "******");
    EXPECT_EQ(form.TxtField[Minsert::kPassword].text, "secret");
}

TEST_F(MainWindowTest, TypingAndChoosingWriteTheModelAtOnce) {
    QTest::keyClicks(Find("TxtField(1)"), "SHOPDB");
    EXPECT_EQ(form.TxtField[Minsert::kDatabaseName].text, "SHOPDB");
    Find<QComboBox>("CboDriver")->setCurrentIndex(2);
    EXPECT_EQ(form.CboDriver.listIndex, 2);
    EXPECT_TRUE(op.messages.isEmpty());
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
    EXPECT_EQ(Find<QLabel>("Label1(2)")->text(), "Database File");
    for (const QString& name : serverOnly)
        EXPECT_FALSE(Find(name)->isEnabled()) << name.toStdString();
    QTest::keyClicks(Find("TxtField(1)"), path);
    EXPECT_EQ(form.TxtField[Minsert::kDatabaseName].text, path);
    QTest::mouseClick(Find("CConnect"), Qt::LeftButton);
    EXPECT_TRUE(op.errors.isEmpty()) << op.errors.value(0).ErrDescription.toStdString();
    EXPECT_TRUE(Find("LblStatus")->isVisible());

    driver->setCurrentIndex(Minsert::kSqlServerDriver);
    EXPECT_FALSE(Find("CSearch(2)")->isVisible());
    EXPECT_EQ(Find<QLabel>("Label1(2)")->text(), "Database Name");
    for (const QString& name : serverOnly)
        EXPECT_TRUE(Find(name)->isEnabled()) << name.toStdString();
    EXPECT_EQ(Find<QLineEdit>("TxtField(1)")->maxLength(), 100);
}

// The line of dashes between the catalogue's two versions only separates
// them: it cannot be chosen, by mouse or by keyboard.
TEST_F(MainWindowTest, TheMatchTableSeparatorCannotBeChosen) {
    auto* tables = Find<QComboBox>("LCombo(1)");
    auto* items = qobject_cast<QStandardItemModel*>(tables->model());
    ASSERT_NE(items, nullptr);
    for (int i = 0; i < tables->count(); ++i)
        EXPECT_EQ(items->item(i)->isEnabled(), !tables->itemText(i).startsWith("---"))
            << tables->itemText(i).toStdString();
}

TEST_F(MainWindowTest, LeavingTheTillFieldEditorWithoutAChoiceKeepsTheMapping) {
    Grid& mapping = ItemMapping({"Code", "Name"});
    mapping.SetCellText(0, 1, "ITEMCODE");
    form.SC_AfterEdit(Minsert::kMappingGrid);
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
    form.TxtField[Minsert::kUserId].text = "ADMIN";
    window.Sync();
    auto* box = Find<QLineEdit>("TxtField(2)");
    box->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(box->selectedText(), "ADMIN");
}

// On a 1366 x 768 laptop at 100 % to 200 %, the window opens within the
// screen's available area (the task bar left out), at the designed size
// where it fits, and may shrink to about 800 x 600 or to what the screen
// holds.
TEST(WindowPlacementTest, TheWindowOpensWithinTheScreenAtEveryScale) {
    const QSize designed(863, 672);
    const QSize frame(16, 40);
    for (const double scale : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const QRect available(0, 0, int(1366 / scale), int((768 - 40) / scale));
        const WindowPlacement place = PlaceWindow(designed, available, frame, 16);
        const QRect framed =
            place.opening.adjusted(-frame.width() / 2, -(frame.height() - frame.width() / 2),
                                   frame.width() / 2, frame.width() / 2);
        EXPECT_TRUE(available.contains(framed)) << framed.width() << "x" << framed.height();
        // As large as fits, up to the designed size.
        const QSize room = available.size() - frame;
        EXPECT_GE(place.opening.width(), std::min(room.width(), designed.width()));
        EXPECT_GE(place.opening.height(), std::min(room.height(), designed.height()));
        EXPECT_LE(place.smallest.width(), std::min(800, place.opening.width()));
        EXPECT_LE(place.smallest.height(), std::min(600, place.opening.height()));
        if (scale == 1.0) {
            EXPECT_EQ(place.opening.size(), designed);
        }
    }
}

// At its smallest the window keeps the form at its designed size and
// scrolls it: no control is cut, each can be scrolled into view.
TEST_F(MainWindowTest, AtItsSmallestTheFormScrollsWithNothingCut) {
    auto* scroll = Find<QScrollArea>("FormScroll");
    const QSize designed = scroll->widget()->size();
    window.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(800, 600));
    EXPECT_EQ(scroll->widget()->size(), designed);
    for (const char* name : {"CStart", "CClose", "About", "TxtField(0)", "CConnect"}) {
        scroll->ensureWidgetVisible(Find(name));
        const QRect shown(Find(name)->mapTo(scroll->viewport(), QPoint()), Find(name)->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(shown)) << name;
    }
    // The scroll bars reach the form's far edges, the status bar's included.
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(),
              designed.width() - scroll->viewport()->width());
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(),
              designed.height() - scroll->viewport()->height());
}

// The window can grow from the form's designed size: the grids take the
// extra room, the bottom row keeps to the bottom and the buttons to the
// right edge; back at the designed size every control is where it was.
TEST_F(MainWindowTest, TheGridsTakeTheRoomOfAGrownWindow) {
    QWidget* formArea = Find<QScrollArea>("FormScroll")->widget();
    const QSize designed = formArea->size();
    window.resize(designed);
    EXPECT_GT(window.maximumWidth(), designed.width());
    EXPECT_GT(window.maximumHeight(), designed.height());
    // The controls of the form and of its frames, by name.
    const auto places = [&] {
        QHash<QString, QRect> places;
        for (const QWidget* parent :
             {formArea, Find("Frame1(0)"), Find("Frame1(1)"), Find("Frame2")})
            for (const QWidget* w :
                 parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
                places[w->objectName()] = w->geometry();
        return places;
    };
    QHash<QString, QRect> before = places();
    const auto grown = [&](const char* name) { return Find(name)->geometry(); };

    constexpr int kWider = 500;
    constexpr int kTaller = 300;
    window.resize(designed + QSize(kWider, kTaller));
    EXPECT_EQ(grown("SC(1)").height(), before["SC(1)"].height() + kTaller);
    EXPECT_EQ(grown("SC(2)").height(), before["SC(2)"].height() + kTaller);
    EXPECT_EQ(grown("SC(1)").width() + grown("SC(2)").width(),
              before["SC(1)"].width() + before["SC(2)"].width() + kWider);
    EXPECT_EQ(grown("SC(1)").right() - grown("SC(2)").left(),
              before["SC(1)"].right() - before["SC(2)"].left());
    for (const char* name : {"CVerify", "CStart", "CClose"})
        EXPECT_EQ(grown(name), before[name].translated(kWider, kTaller)) << name;
    for (const char* name : {"CSave", "Label5"})
        EXPECT_EQ(grown(name), before[name].translated(0, kTaller)) << name;
    EXPECT_EQ(grown("StatusBar1").bottom(), window.height() - 1);
    EXPECT_EQ(grown("TxtField(9)").top(),
              grown("SC(2)").bottom() + before["TxtField(9)"].top() - before["SC(2)"].bottom());

    window.resize(designed);
    EXPECT_EQ(places(), before);
}

// The row headers of the result grid hold sheet row numbers up to 65,536.
TEST_F(MainWindowTest, RowHeadersShowFiveDigitRowNumbersWhole) {
    form.SC[Minsert::kResultGrid]->SetCols(1);
    form.LoadHeader(Minsert::kResultGrid);
    form.SC[Minsert::kResultGrid]->SetRows(2);
    form.SC[Minsert::kResultGrid]->SetCellText(0, -1, "2");
    form.SC[Minsert::kResultGrid]->SetCellText(1, -1, "65536");
    QApplication::processEvents();
    const QHeaderView* header = Find<QTableView>("SC(2)")->verticalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    EXPECT_GE(header->width(), header->fontMetrics().horizontalAdvance("65536") + 2 * margin);
}

// Help is at hand: the About box names the version, the program folder and
// the libraries' licences; F1's user guide is found installed beside the
// program or, in a build, in the sources; an empty company list says where
// its companies come from.
TEST_F(MainWindowTest, AboutTheUserGuideAndAnEmptyCompanyListSayWhatTheyAre) {
    const QString about = AboutText("/opt/till");
    for (const char* part : {"xlsload 20140704", "Program folder: /opt/till", "Qt 6 (GNU LGPL 3)",
                             "FreeTDS (GNU LGPL 2)", "SQLite (public domain)"})
        EXPECT_TRUE(about.contains(part)) << part;

    const QString installed = dir.path() + "/usr";
    ASSERT_TRUE(QDir().mkpath(installed + "/bin"));
    ASSERT_TRUE(QDir().mkpath(installed + "/share/doc/xlsload"));
    QFile guide(installed + "/share/doc/xlsload/README.md");
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();
    EXPECT_EQ(UserGuidePath(installed + "/bin"), guide.fileName());
    EXPECT_EQ(UserGuidePath(dir.path() + "/elsewhere"),
              QDir::cleanPath(XLSLOAD_SOURCE_DIR "/README.md"));

    auto* hint = Find<QLabel>("CompanyListHint");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains("CompFile.mdb")) << hint->text().toStdString();
    form.SC[Minsert::kCompanyList]->SetRows(1);
    window.Sync();
    EXPECT_FALSE(hint->isVisible());
}

// The mapping grid shows each sheet column's type as a word, and its
// columns fit side by side: no scroll bar hides an Excel field's name.
TEST_F(MainWindowTest, TheMappingGridShowsTypesAsWordsWithoutAScrollBar) {
    const QString book = dir.path() + "/Types.xls";
    WriteWorkbook(
        book,
        {{"Sheet",
          {{"A rather long column name", "Price", "Since"}, {"x", 1.5, QDate(2024, 1, 31)}}}});
    form.ChooseWorkbook(book);
    ASSERT_TRUE(form.ChooseSheet("Sheet"));
    window.Sync();
    QApplication::processEvents();
    const Grid& mapping = *form.SC[Minsert::kMappingGrid];
    EXPECT_EQ(mapping.CellText(0, 2), "Text");
    EXPECT_EQ(mapping.CellText(1, 2), "Number");
    EXPECT_EQ(mapping.CellText(2, 2), "Date");
    EXPECT_FALSE(Find<QTableView>("SC(1)")->horizontalScrollBar()->isVisible());
}

// The mapping grid says how to edit it; F2 opens the editor of the
// selected TILL Field cell, where typing searches by the whole prefix typed
// ("rem" is REMARK, not REORDERQTY), Enter commits and Esc brings the old
// value back.
TEST_F(MainWindowTest, TheMappingGridEditsFromTheKeyboard) {
    Grid& mapping = ItemMapping({"Name"});
    window.Sync();
    QApplication::processEvents();

    auto* view = Find<QTableView>("SC(1)");
    EXPECT_TRUE(view->toolTip().contains("Double-click")) << view->toolTip().toStdString();
    EXPECT_TRUE(view->toolTip().contains("F2"));
    view->setFocus();
    view->setCurrentIndex(mapping.index(0, 1));
    QTest::keyClick(view, Qt::Key_F2);
    auto* editor = view->findChild<QComboBox*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "rem");
    EXPECT_EQ(editor->currentText(), "REMARK");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(mapping.CellText(0, 1), "REMARK");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the closed editor
    QTest::keyClick(view, Qt::Key_F2);
    editor = view->findChild<QComboBox*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "itemn");
    EXPECT_EQ(editor->currentText(), "ITEMNAME");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(mapping.CellText(0, 1), "REMARK");
    EXPECT_TRUE(op.errors.isEmpty());
}

}  // namespace
