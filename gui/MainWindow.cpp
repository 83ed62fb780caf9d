#include "gui/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "base/BgrColor.h"
#include "gui/AppIcon.h"
#include "gui/ElidedLabel.h"
#include "gui/FormMetrics.h"
#include "gui/GridView.h"
#include "gui/Help.h"
#include "gui/WindowPlacement.h"

namespace {

constexpr int kClientWidth = 12945;
constexpr int kClientHeight = 10080;
constexpr int kStatusBarHeight = 315;
constexpr int kRowHeight = 285;
constexpr int kButtonHeight = 375;

// The form's designed size: the window's at 100 %.
QSize Designed() { return {Px(kClientWidth), Px(kClientHeight)}; }

QString Indexed(const char* name, int index) { return QString("%1(%2)").arg(name).arg(index); }

// A text box selects its whole text when it gets the focus and tells when
// the focus leaves it.
class TextBoxWidget : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(Qt::FocusReason)> focusLeft;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        selectAll();
    }
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        if (focusLeft) focusLeft(event->reason());
    }
};

// Focus leaving for another control of the window, not for a dialog, a
// popup or another application.
bool MovesWithinWindow(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

MainWindow::MainWindow(Minsert& form, QWidget* parent)
    : QWidget(parent), form_(form), growth_(Designed()) {
    setObjectName("MINSERT");
    setFont(FormFont());
    // The form is laid out at its designed size inside a scroll area, so that
    // the window may be smaller than the form on a small or scaled screen.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("FormScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Enter and Tab walk the controls only
    content_ = new QWidget;
    content_->resize(Designed());
    scroll->setWidget(content_);
    scroll_ = scroll;
    resize(content_->size());
    syncers_.push_back([this] { setWindowTitle(form_.Caption); });

    BuildBanner();
    BuildCompanyFrame();
    BuildDatabaseFrame();
    BuildExcelFrame();
    BuildMapping();
    BuildResults();
    BuildCommands();
    BuildStatusBar();
    SetFocusOrder();
    SetGrowth();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // A title bar and borders as window managers draw them.
        const WindowPlacement place =
            PlaceWindow(content_->size(), screen->availableGeometry(), QSize(16, 40),
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        setMinimumSize(place.smallest);
        setGeometry(place.opening);
    }
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { OpenUserGuide(this); });
    qApp->installEventFilter(this);
    Sync();
}

void MainWindow::Sync() {
    for (const auto& sync : syncers_) sync();
}

void MainWindow::Forward(const char* handler, const std::function<void()>& body) {
    {
        const QScopedValueRollback running(busy_, true);
        form_.Reporter().Guard("MINSERT", handler, body);
    }
    Sync();
    if (form_.Unloaded) close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (form_.PassRunning()) {
        Forward("CClose_Click", [this] { form_.CClose_Click(); });
        event->ignore();
        return;
    }
    if (!form_.Unloaded) form_.CClose_Click();
    event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scroll_->setGeometry(rect());
    // The form fills the window where the window is larger than designed,
    // the grids taking the room; where smaller, it keeps its designed size
    // and scrolls, a scroll bar taking its width from the other side.
    const QSize designed = Designed();
    QSize room = event->size();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (room.height() < designed.height()) room.rwidth() -= bar;
    if (room.width() < designed.width()) room.rheight() -= bar;
    const QSize form = designed.expandedTo(room);
    content_->resize(form);
    growth_.Apply(form);
}

bool MainWindow::FilterDuringPass(QObject* watched, QEvent* event) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                Forward("CClose_Click", [this] { form_.CClose_Click(); });
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return widget != Widget("CClose");
        default:
            return false;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A pass lets events through while it runs; no handler may start
    // inside it.
    if (form_.PassRunning()) return FilterDuringPass(watched, event);
    // Seen before the control; the move is queued so the control handles
    // the key first, in the focus it had.
    if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget() ||
        static_cast<QWidget*>(watched)->window() != this)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Up) return false;
    const bool forward = key != Qt::Key_Up;
    if (auto* button = qobject_cast<QAbstractButton*>(watched); button && forward) {
        button->click();
        return true;
    }
    QMetaObject::invokeMethod(
        this, [this, forward] { focusNextPrevChild(forward); }, Qt::QueuedConnection);
    // A button's only use of an arrow key is a focus move of its own, which
    // would add a second step to this one.
    return key == Qt::Key_Up && qobject_cast<QAbstractButton*>(watched);
}

QWidget* MainWindow::Widget(const QString& name) const { return findChild<QWidget*>(name); }

QLabel* MainWindow::AddLabel(Label& model, const QString& name, QWidget* parent,
                             const QRect& place) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(place);
    label->setWordWrap(place.height() > Px(kRowHeight));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    syncers_.push_back([label, &model] {
        label->setText(model.caption);
        label->setVisible(model.visible);
    });
    return label;
}

QLineEdit* MainWindow::AddTextBox(int index, QWidget* parent, const QRect& place) {
    TextBox& model = form_.TxtField[index];
    auto* box = new TextBoxWidget(parent);
    box->setObjectName(Indexed("TxtField", index));
    box->setGeometry(place);
    if (model.password) box->setStyleSheet("lineedit-password-character: 42");
    connect(box, &QLineEdit::textEdited, this,
            [&model](const QString& text) { model.text = text; });
    if (index == Minsert::kWorkbookPath || index == Minsert::kMatchName) {
        box->focusLeft = [this, index](Qt::FocusReason reason) {
            if (!busy_ && MovesWithinWindow(reason))
                Forward("TxtField_Validate", [this, index] { form_.TxtField_Validate(index); });
        };
    }
    syncers_.push_back([box, &model] {
        box->setMaxLength(model.maxLength > 0 ? model.maxLength : 32767);
        if (box->text() != model.text) box->setText(model.text);
        box->setEchoMode(model.password ? QLineEdit::Password : QLineEdit::Normal);
        box->setReadOnly(model.locked);
        box->setEnabled(model.enabled);
        box->setVisible(model.visible);
    });
    return box;
}

QComboBox* MainWindow::AddList(ListControl& model, const QString& name, QWidget* parent,
                               const QRect& place) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(place);
    syncers_.push_back([list, &model] {
        const QSignalBlocker quiet(list);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        if (shown != model.items) {
            list->clear();
            list->addItems(model.items);
            // A line of dashes only separates the entries around it.
            static const QRegularExpression kSeparator("^-+$");
            auto* items = qobject_cast<QStandardItemModel*>(list->model());
            for (int i = 0; i < model.items.size(); ++i)
                if (kSeparator.match(model.items[i]).hasMatch()) items->item(i)->setEnabled(false);
        }
        list->setCurrentIndex(model.listIndex);
    });
    return list;
}

QPushButton* MainWindow::AddButton(Button& model, const QString& name, QWidget* parent,
                                   const QRect& place, std::function<void()> click) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(place);
    connect(button, &QPushButton::clicked, this, std::move(click));
    syncers_.push_back([button, &model] {
        button->setText(model.caption);
        button->setEnabled(model.enabled);
        button->setVisible(model.visible);
    });
    return button;
}

QGroupBox* MainWindow::AddFrame(Label& model, const QString& name, const QRect& place) {
    auto* frame = new QGroupBox(content_);
    frame->setObjectName(name);
    frame->setGeometry(place);
    syncers_.push_back([frame, &model] {
        frame->setTitle(model.caption);
        frame->setVisible(model.visible);
    });
    return frame;
}

GridView* MainWindow::AddGrid(int index, QWidget* parent, const QRect& place) {
    auto* view = new GridView(*form_.SC[index], parent);
    view->setObjectName(Indexed("SC", index));
    view->setGeometry(place);
    view->OnBeforeEdit([this, index](int row, int col) {
        Forward("SC_BeforeEdit", [this, index, row, col] { form_.SC_BeforeEdit(index, row, col); });
    });
    view->OnAfterEdit(
        [this, index] { Forward("SC_AfterEdit", [this, index] { form_.SC_AfterEdit(index); }); });
    view->OnDoubleClick(
        [this, index] { Forward("SC_DblClick", [this, index] { form_.SC_DblClick(index); }); });
    return view;
}

void MainWindow::BuildBanner() {
    auto* banner = new QFrame(content_);
    banner->setObjectName("Frame3");
    banner->setFrameShape(QFrame::StyledPanel);
    banner->setGeometry(TwipsRect(0, 0, 12975, 855));
    auto* image = new QLabel(banner);
    image->setObjectName("Image1");
    image->setGeometry(TwipsRect(120, 120, 600, 600));
    image->setPixmap(AppIconPixmap(Px(600)));
    QLabel* utility = AddLabel(form_.Label7, "Label7", banner, TwipsRect(840, 90, 3000, 270));
    utility->setFont(FormFont(true));
    QLabel* title = AddLabel(form_.Label12, "Label12", banner, TwipsRect(840, 360, 11000, 390));
    QFont titleFont = FormFont(true);
    titleFont.setPointSize(12);
    title->setFont(titleFont);
}

void MainWindow::BuildCompanyFrame() {
    QGroupBox* frame = AddFrame(form_.Frame1[Minsert::kCompanyFrame], "Frame1(1)",
                                TwipsRect(120, 960, 7215, 1935));
    GridView* companies = AddGrid(Minsert::kCompanyList, frame, TwipsRect(120, 240, 6975, 1575));
    // Double click picks a company; the list itself is not edited.
    companies->setEditTriggers(QAbstractItemView::NoEditTriggers);
    companies->setSelectionBehavior(QAbstractItemView::SelectRows);
    // An empty list says where its companies come from.
    auto* hint =
        new QLabel("The company list is read from CompFile.mdb in the program folder (" +
                       QDir::toNativeSeparators(form_.Home()) +
                       "). There is none there: give the database details on the right instead.",
                   companies->viewport());
    hint->setObjectName("CompanyListHint");
    hint->setWordWrap(true);
    hint->setMargin(6);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    (new QVBoxLayout(companies->viewport()))->addWidget(hint);
    syncers_.push_back(
        [this, hint] { hint->setVisible(form_.SC[Minsert::kCompanyList]->Rows() == 0); });
}

void MainWindow::BuildDatabaseFrame() {
    QGroupBox* frame = AddFrame(form_.Frame1[Minsert::kDatabaseFrame], "Frame1(0)",
                                TwipsRect(7440, 960, 5415, 1935));
    constexpr int kTop = 240;
    constexpr int kStep = 315;
    for (int i = 0; i < 4; ++i) {
        const int top = kTop + i * kStep;
        AddLabel(form_.Label1[i + 1], Indexed("Label1", i + 1), frame,
                 TwipsRect(120, top + 30, 1440, kRowHeight));
        AddTextBox(i, frame, TwipsRect(1560, top, 2250, kRowHeight));
    }
    AddButton(form_.CSearch[Minsert::kBrowseSqlite], "CSearch(2)", frame,
              TwipsRect(3840, kTop + kStep, 330, kRowHeight), [this] {
                  Forward("CSearch_Click", [this] { form_.CSearch_Click(Minsert::kBrowseSqlite); });
              });
    const int driverTop = kTop + 4 * kStep;
    AddLabel(form_.LblDriver, "LblDriver", frame, TwipsRect(120, driverTop + 30, 1440, kRowHeight));
    QComboBox* driver =
        AddList(form_.CboDriver, "CboDriver", frame, TwipsRect(1560, driverTop, 2250, 315));
    connect(driver, &QComboBox::currentIndexChanged, this, [this](int index) {
        form_.CboDriver.listIndex = index;
        Forward("CboDriver_Click", [this] { form_.CboDriver_Click(); });
    });
    QLabel* status =
        AddLabel(form_.LblStatus, "LblStatus", frame, TwipsRect(4260, kTop + 30, 1035, kRowHeight));
    status->setFont(FormFont(true));
    AddButton(form_.CConnect, "CConnect", frame, TwipsRect(4260, 1440, 1035, kButtonHeight),
              [this] { Forward("CConnect_Click", [this] { form_.CConnect_Click(); }); });
}

void MainWindow::BuildExcelFrame() {
    QGroupBox* frame = AddFrame(form_.Frame2, "Frame2", TwipsRect(120, 3000, 12735, 1215));
    AddLabel(form_.Label1[Minsert::kWorkbookPathLabel], "Label1(5)", frame,
             TwipsRect(240, 330, 1680, kRowHeight));
    QLineEdit* workbook =
        AddTextBox(Minsert::kWorkbookPath, frame, TwipsRect(1920, 300, 10095, kRowHeight));
    // The workbooks used before are offered as any part of their path is typed.
    auto* recent = new QStringListModel(this);
    auto* completer = new QCompleter(recent, workbook);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    workbook->setCompleter(completer);
    syncers_.push_back([this, recent] {
        if (recent->stringList() != form_.RecentWorkbooks)
            recent->setStringList(form_.RecentWorkbooks);
    });
    AddButton(form_.CSearch[Minsert::kBrowseWorkbook], "CSearch(0)", frame,
              TwipsRect(12075, 285, 450, 315), [this] {
                  Forward("CSearch_Click",
                          [this] { form_.CSearch_Click(Minsert::kBrowseWorkbook); });
              });
    AddLabel(form_.Label1[Minsert::kSheetLabel], "Label1(6)", frame,
             TwipsRect(240, 750, 1680, kRowHeight));
    QComboBox* sheets = AddList(form_.LCombo[Minsert::kSheetList], "LCombo(0)", frame,
                                TwipsRect(1920, 705, 4500, 315));
    connect(sheets, &QComboBox::activated, this, [this](int index) {
        form_.LCombo[Minsert::kSheetList].listIndex = index;
        Forward("LCombo_Click", [this] { form_.LCombo_Click(Minsert::kSheetList); });
    });
}

void MainWindow::BuildMapping() {
    AddLabel(form_.Label1[Minsert::kMatchNameLabel], "Label1(7)", content_,
             TwipsRect(360, 4470, 1800, kRowHeight));
    AddTextBox(Minsert::kMatchName, content_, TwipsRect(2160, 4440, 2940, kRowHeight));
    AddButton(form_.CSearch[Minsert::kBrowseMatch], "CSearch(1)", content_,
              TwipsRect(5160, 4440, 375, kRowHeight), [this] {
                  Forward("CSearch_Click", [this] { form_.CSearch_Click(Minsert::kBrowseMatch); });
              });
    AddLabel(form_.Label1[Minsert::kMatchTableLabel], "Label1(0)", content_,
             TwipsRect(360, 4830, 1800, kRowHeight));
    QComboBox* tables = AddList(form_.LCombo[Minsert::kTableList], "LCombo(1)", content_,
                                TwipsRect(2160, 4785, 3375, 315));
    connect(tables, &QComboBox::activated, this, [this](int index) {
        form_.LCombo[Minsert::kTableList].listIndex = index;
        Forward("LCombo_Click", [this] { form_.LCombo_Click(Minsert::kTableList); });
    });
    GridView* mapping = AddGrid(Minsert::kMappingGrid, content_, TwipsRect(120, 5160, 5415, 3975));
    mapping->setToolTip(
        "Double-click a TILL Field cell, or select it and press F2, to choose its column.\n"
        "In the list, type a letter to jump to the columns that start with it.");
}

void MainWindow::BuildResults() {
    AddGrid(Minsert::kResultGrid, content_, TwipsRect(5760, 4440, 7095, 3615));
    // Each total is a caption and its box, 2400 twips a pair.
    for (int i = 0; i < 3; ++i) {
        const int left = 5760 + i * 2400;
        const int captionWidth = fontMetrics().horizontalAdvance(form_.Label4[i].caption) + 2;
        AddLabel(form_.Label4[i], Indexed("Label4", i), content_,
                 QRect(Px(left), Px(8190), captionWidth, Px(kRowHeight)));
        const int boxLeft = Px(left) + captionWidth;
        AddTextBox(Minsert::kTotalLines + i, content_,
                   QRect(boxLeft, Px(8160), Px(left + 2400 - 120) - boxLeft, Px(kRowHeight)));
    }
    // The legend of the verify colours from the left: duplicate first.
    static constexpr int kOrder[] = {3, 0, 1, 2, 4};
    static constexpr int kLeft[] = {5760, 7020, 8340, 9600, 11340, kClientWidth};
    for (int k = 0; k < 5; ++k) {
        const int i = kOrder[k];
        auto* swatch = new QFrame(content_);
        swatch->setObjectName(Indexed("Shape1", i));
        swatch->setFrameShape(QFrame::Box);
        swatch->setGeometry(TwipsRect(kLeft[k], 8655, 240, 195));
        swatch->setAutoFillBackground(true);
        syncers_.push_back([swatch, &model = form_.Shape1[i]] {
            QPalette palette = swatch->palette();
            palette.setColor(QPalette::Window, FromBgr(model.color));
            swatch->setPalette(palette);
        });
        AddLabel(form_.Label2[i], Indexed("Label2", i), content_,
                 TwipsRect(kLeft[k] + 300, 8640, kLeft[k + 1] - kLeft[k] - 360, 480));
    }
}

void MainWindow::BuildCommands() {
    AddLabel(form_.Label5, "Label5", content_, TwipsRect(120, 9240, 4020, 480));
    AddButton(form_.CSave, "CSave", content_, TwipsRect(4200, 9240, 1215, kButtonHeight),
              [this] { Forward("CSave_Click", [this] { form_.CSave_Click(); }); });
    QLabel* progress =
        AddLabel(form_.LblProgress, "LblProgress", content_, TwipsRect(5520, 9240, 2940, 480));
    progress->setFont(FormFont(true));
    AddButton(form_.CVerify, "CVerify", content_, TwipsRect(8520, 9240, 1335, kButtonHeight),
              [this] { Forward("CVerify_Click", [this] { form_.CVerify_Click(); }); });
    AddButton(form_.CStart, "CStart", content_, TwipsRect(9960, 9240, 1335, kButtonHeight),
              [this] { Forward("CStart_Click", [this] { form_.CStart_Click(); }); });
    AddButton(form_.CClose, "CClose", content_, TwipsRect(11400, 9240, 1335, kButtonHeight),
              [this] { Forward("CClose_Click", [this] { form_.CClose_Click(); }); });
    // Separators between the bands of the window.
    static constexpr int kLineTops[] = {900, 2955, 4290, 9180};
    for (int i = 0; i < 4; ++i) {
        auto* line = new QFrame(content_);
        line->setObjectName(QString("Line%1").arg(i + 1));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(TwipsRect(120, kLineTops[i], kClientWidth - 240, 30));
    }
}

void MainWindow::BuildStatusBar() {
    auto* bar = new QStatusBar(content_);
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    bar->setGeometry(
        TwipsRect(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight));
    auto* panel = new QLabel(bar);
    panel->setObjectName("StatusBar1.Panel1");
    bar->addWidget(panel);
    // A pass's rows done, rows a second and time left; hidden between passes.
    auto* progress = new QProgressBar(bar);
    progress->setObjectName("ProgressBar");
    progress->setRange(0, 1000);
    progress->setMinimumWidth(Px(3600));
    progress->hide();
    bar->addPermanentWidget(progress);
    // The verdict files Verify writes, at hand.
    auto* folder = new QToolButton(bar);
    folder->setObjectName("OpenExcelFolder");
    folder->setText("EXCEL Folder");
    folder->setToolTip("Opens the folder of the workbooks, match files and verdict files");
    folder->setAutoRaise(true);
    bar->addPermanentWidget(folder);
    connect(folder, &QToolButton::clicked, this,
            [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(form_.Home() + "/EXCEL")); });
    auto* about = new QToolButton(bar);
    about->setObjectName("About");
    about->setText("About");
    about->setToolTip(
        "The version, the program folder and the libraries' licences; F1 opens "
        "the user guide");
    about->setAutoRaise(true);
    bar->addPermanentWidget(about);
    connect(about, &QToolButton::clicked, this, [this] { ShowAbout(this, form_.Home()); });
    syncers_.push_back([panel, &model = form_.StatusBar1] { panel->setText(model.caption); });
    // The whole result shows as the panel's tip where the window cuts it.
    auto* result = new ElidedLabel(bar);
    result->setObjectName("LblResult");
    result->setTextFormat(Qt::PlainText);
    bar->addWidget(result, 1);
    syncers_.push_back([result, &model = form_.LblResult] {
        result->setText(model.caption);
        result->setToolTip(model.caption);
        result->setVisible(model.visible);
    });
}

// Enter walks this order; the database details in the order they stand,
// the browse button beside the database name and the driver under the
// password.
void MainWindow::SetFocusOrder() {
    static const char* const kOrder[] = {
        "TxtField(0)", "TxtField(1)", "CSearch(2)",  "TxtField(2)",     "TxtField(3)",
        "CboDriver",   "CConnect",    "TxtField(4)", "LCombo(0)",       "TxtField(5)",
        "LCombo(1)",   "SC(1)",       "CSave",       "CVerify",         "CStart",
        "CClose",      "CSearch(0)",  "SC(0)",       "SC(2)",           "CSearch(1)",
        "TxtField(7)", "TxtField(8)", "TxtField(9)", "OpenExcelFolder", "About"};
    QWidget* previous = nullptr;
    for (const char* name : kOrder) {
        QWidget* widget = Widget(name);
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    }
    Widget(kOrder[0])->setFocus();
}

// The grids take the extra room: the mapping grid its share of the width
// and all of the height beside the result grid; the bands above widen, the
// controls under the grids move down, and the buttons keep the right edge.
void MainWindow::SetGrowth() {
    constexpr double kMapping = 5415.0 / (5415 + 7095);
    const GrowingLayout::Shares widen{0, 0, 1, 0};
    const GrowingLayout::Shares right{1, 0, 0, 0};
    const GrowingLayout::Shares down{0, 1, 0, 0};
    const GrowingLayout::Shares underResults{kMapping, 1, 0, 0};
    const std::pair<QString, GrowingLayout::Shares> kPlaces[] = {
        {"Frame3", widen},
        {"Frame1(1)", widen},
        {"SC(0)", widen},
        {"Frame1(0)", right},
        {"Frame2", widen},
        {"TxtField(4)", widen},
        {"CSearch(0)", right},
        {"Line1", widen},
        {"Line2", widen},
        {"Line3", widen},
        {"SC(1)", {0, 0, kMapping, 1}},
        {"SC(2)", {kMapping, 0, 1 - kMapping, 1}},
        {"Line4", {0, 1, 1, 0}},
        {"Label5", down},
        {"CSave", down},
        {"LblProgress", {0, 1, 1, 0}},
        {"CVerify", {1, 1, 0, 0}},
        {"CStart", {1, 1, 0, 0}},
        {"CClose", {1, 1, 0, 0}},
        {"StatusBar1", {0, 1, 1, 0}}};
    for (const auto& [name, shares] : kPlaces) growth_.Add(Widget(name), shares);
    for (int i = 0; i < 3; ++i) {
        growth_.Add(Widget(Indexed("Label4", i)), underResults);
        growth_.Add(Widget(Indexed("TxtField", Minsert::kTotalLines + i)), underResults);
    }
    for (int i = 0; i < 5; ++i) {
        growth_.Add(Widget(Indexed("Shape1", i)), underResults);
        growth_.Add(Widget(Indexed("Label2", i)), underResults);
    }
}
