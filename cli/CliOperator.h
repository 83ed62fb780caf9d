#pragma once

#include <cstdio>

#include "form/Operator.h"
#include "form/ProgressRate.h"

// The operator on the command line: every message goes to the error stream
// with its title, the Yes/No question is answered from --yes, input and file
// dialogs answer cancelled, and progress is one updating line when the
// stream is a terminal and quiet is not asked for.
class CliOperator : public Operator {
public:
    explicit CliOperator(bool yes, std::FILE* out = stderr, bool quiet = false);
    ~CliOperator() override;
    CliOperator(const CliOperator&) = delete;
    CliOperator& operator=(const CliOperator&) = delete;

    void MsgBox(const QString& text, MsgIcon icon, const QString& title) override;
    bool AskYesNo(const QString& text, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    void ShowError(const ErrorVariables& error) override;
    QString OpenFile(const QString& title, const QString& folder, const QString& filter) override;
    void SetFocus(const QString& control) override;
    void Progress(const QString& text) override;
    void Notice(const QString& text) override;

    // How many failures the error dialog reported: the command then failed.
    int ErrorsShown() const { return errorsShown_; }

private:
    void Print(const QString& line);
    void EraseProgress();

    bool yes_;
    std::FILE* out_;
    bool showProgress_;
    bool progressShown_ = false;
    // The pass's first count and when it came, for its pace.
    ProgressRate rate_;
    int errorsShown_ = 0;
};

// "Insert Data... 3 of 12" with a bar of width cells after it and, once the
// pace is known (rowsPerSecond above 0), the rows a second and the time left;
// other texts unchanged.
QString ProgressLine(const QString& text, int width = 20, double rowsPerSecond = 0);
