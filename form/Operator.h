#pragma once

#include <QString>
#include <optional>

#include "base/ErrorVariables.h"

enum class MsgIcon { None, Critical, Exclamation, Question, Information };

// Everything the program asks of or tells the person at the keyboard. The
// window answers with dialogs, the command line with stderr and its flags,
// tests with a recording fake.
class Operator {
public:
    virtual ~Operator() = default;

    // A modal message box with an OK button.
    virtual void MsgBox(const QString& text, MsgIcon icon, const QString& title) = 0;
    // A modal Yes/No question with the question icon; true for Yes.
    virtual bool AskYesNo(const QString& text, const QString& title) = 0;
    // A text input box; nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // The modal error dialog; returns when the operator closes it.
    virtual void ShowError(const ErrorVariables& error) = 0;
    // The open-file dialog; the chosen full path, or empty when cancelled.
    virtual QString OpenFile(const QString& title, const QString& folder,
                             const QString& filter) = 0;
    // Moves the focus to the named control ("TxtField(4)", "LCombo(1)", ...).
    virtual void SetFocus(const QString& control) = 0;
    // Shows a progress text at once, while a long pass keeps the thread.
    virtual void Progress(const QString& text) = 0;
    // Tells the user something that asks no answer and stops nothing, as
    // a pass goes on (a line of the messages; the progress line).
    virtual void Notice(const QString& text) = 0;
};
