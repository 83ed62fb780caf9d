#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "form/Operator.h"
#include "form/ProgressRate.h"

// The operator at the window: Qt message boxes, input box, the error dialog,
// the open-file dialog, focus moves and the progress label. Before a modal
// dialog opens the window is brought up to date with the form, so the
// operator sees what the dialog is about.
class QtOperator : public Operator {
public:
    // The window exists only after the form it shows, which needs this
    // operator first; Attach joins them.
    void Attach(QWidget* window, std::function<void()> sync);

    void MsgBox(const QString& text, MsgIcon icon, const QString& title) override;
    bool AskYesNo(const QString& text, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void ShowError(const ErrorVariables& error) override;
    QString OpenFile(const QString& title, const QString& folder, const QString& filter) override;
    void SetFocus(const QString& control) override;
    void Progress(const QString& text) override;
    // Shown as progress is; the result line keeps it after the pass.
    void Notice(const QString& text) override;

private:
    void Sync() const;

    QPointer<QWidget> window_;
    ProgressRate rate_;
    std::function<void()> sync_;
};
