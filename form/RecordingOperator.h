#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "form/Operator.h"

// Operator for tests: records every call and answers from queues set up in
// advance (Yes by default, a cancelled input box and file dialog).
class RecordingOperator : public Operator {
public:
    struct Message {
        QString text;
        MsgIcon icon;
        QString title;
    };

    QList<Message> messages;
    QStringList questions;
    QList<ErrorVariables> errors;
    QStringList focus;
    QStringList progress;
    QStringList notices;
    QStringList fileDialogs;  // titles of the file dialogs shown

    QList<bool> yesNoAnswers;
    QList<std::optional<QString>> inputAnswers;
    QStringList fileAnswers;
    // Called with every progress text once it is recorded.
    std::function<void(const QString&)> onProgress;

    void MsgBox(const QString& text, MsgIcon icon, const QString& title) override {
        messages.append({text, icon, title});
    }
    bool AskYesNo(const QString& text, const QString& /*title*/) override {
        questions.append(text);
        return yesNoAnswers.isEmpty() ? true : yesNoAnswers.takeFirst();
    }
    std::optional<QString> InputBox(const QString& prompt, const QString& /*title*/,
                                    const QString& /*defaultText*/) override {
        questions.append(prompt);
        return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.takeFirst();
    }
    void ShowError(const ErrorVariables& error) override { errors.append(error); }
    QString OpenFile(const QString& title, const QString& /*folder*/,
                     const QString& /*filter*/) override {
        fileDialogs.append(title);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    void SetFocus(const QString& control) override { focus.append(control); }
    void Progress(const QString& text) override {
        progress.append(text);
        if (onProgress) onProgress(text);
    }
    void Notice(const QString& text) override { notices.append(text); }

    QString LastMessage() const { return messages.isEmpty() ? QString() : messages.last().text; }
};
