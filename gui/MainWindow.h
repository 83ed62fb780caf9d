#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "form/Minsert.h"
#include "gui/GrowingLayout.h"

class QLabel;
class QLineEdit;
class QComboBox;
class QPushButton;
class QGroupBox;
class GridView;

// The window MINSERT: shows a Minsert form model and forwards the operator's
// events to its handlers. Widget edits are written to the model at once;
// after every handler the window shows the model again. Each widget is named
// as its control ("TxtField(0)", "SC(1)", "CVerify", ...).
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(Minsert& form, QWidget* parent = nullptr);

    // Shows the model's current state in every widget.
    void Sync();

protected:
    // While Verify or Start runs, closing asks whether to stop it instead.
    void closeEvent(QCloseEvent* event) override;
    // Enter and Up arrow move the focus forward and back; the focused
    // control still gets the key, but Enter on a button presses it. While
    // Verify or Start runs, Esc asks whether to stop it and the window takes
    // no other input but Close.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Runs a handler of the form; a failure the handler lets through is
    // reported under its name. Then the window shows the model again.
    void Forward(const char* handler, const std::function<void()>& body);

    void BuildBanner();
    void BuildCompanyFrame();
    void BuildDatabaseFrame();
    void BuildExcelFrame();
    void BuildMapping();
    void BuildResults();
    void BuildCommands();
    void BuildStatusBar();
    void SetFocusOrder();
    void SetGrowth();
    // Input for this window while a pass runs, which Progress lets through.
    bool FilterDuringPass(QObject* watched, QEvent* event);

    QLabel* AddLabel(Label& model, const QString& name, QWidget* parent, const QRect& place);
    QLineEdit* AddTextBox(int index, QWidget* parent, const QRect& place);
    QComboBox* AddList(ListControl& model, const QString& name, QWidget* parent,
                       const QRect& place);
    QPushButton* AddButton(Button& model, const QString& name, QWidget* parent, const QRect& place,
                           std::function<void()> click);
    QGroupBox* AddFrame(Label& model, const QString& name, const QRect& place);
    GridView* AddGrid(int index, QWidget* parent, const QRect& place);
    QWidget* Widget(const QString& name) const;

    Minsert& form_;
    QWidget* scroll_ = nullptr;   // the scroll area the form lies in
    QWidget* content_ = nullptr;  // the form: every control's parent
    GrowingLayout growth_;
    // One entry per widget: copies the model's state into it.
    std::vector<std::function<void()>> syncers_;
    // True while a handler runs, so that focus moves it makes do not start
    // another one.
    bool busy_ = false;
};
