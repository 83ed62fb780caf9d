#include "cli/CliOperator.h"

#include <unistd.h>

#include <QRegularExpression>

CliOperator::CliOperator(bool yes, std::FILE* out)
    : yes_(yes), out_(out), terminal_(isatty(fileno(out)) != 0) {}

CliOperator::~CliOperator() { EraseProgress(); }

void CliOperator::Print(const QString& line) {
    EraseProgress();
    std::fputs((line + "\n").toLocal8Bit().constData(), out_);
    std::fflush(out_);
}

void CliOperator::EraseProgress() {
    if (!progressShown_) return;
    std::fputs("\r\x1b[K", out_);
    std::fflush(out_);
    progressShown_ = false;
}

void CliOperator::MsgBox(const QString& text, MsgIcon, const QString& title) {
    Print(title + ": " + text);
}

bool CliOperator::AskYesNo(const QString& text, const QString& title) {
    Print(title + ": " + text + (yes_ ? " Yes" : " No (give --yes to answer Yes)"));
    return yes_;
}

std::optional<QString> CliOperator::InputBox(const QString& prompt, const QString& title,
                                             const QString&) {
    Print(title + ": " + prompt + " Cancelled");
    return std::nullopt;
}

void CliOperator::ShowError(const ErrorVariables& error) {
    ++errorsShown_;
    const QString number = error.ErrNumber ? QString::number(*error.ErrNumber) : QString();
    Print("Error Message: Form " + error.ErrFormName + ", Sub " + error.ErrProcName +
          ", Error Code " + number + ": " + error.ErrDescription);
}

QString CliOperator::OpenFile(const QString& title, const QString&, const QString&) {
    Print(title + ": Cancelled");
    return {};
}

void CliOperator::SetFocus(const QString&) {}

void CliOperator::Progress(const QString& text) {
    if (!terminal_) return;
    if (text.isEmpty()) {
        EraseProgress();
        return;
    }
    std::fputs(("\r" + ProgressLine(text) + "\x1b[K").toLocal8Bit().constData(), out_);
    std::fflush(out_);
    progressShown_ = true;
}

QString ProgressLine(const QString& text, int width) {
    static const QRegularExpression count(R"((\d+) of (\d+)$)");
    const QRegularExpressionMatch m = count.match(text);
    const qint64 total = m.hasMatch() ? m.captured(2).toLongLong() : 0;
    if (total <= 0) return text;
    const qint64 done = std::min(m.captured(1).toLongLong(), total);
    const int filled = static_cast<int>(done * width / total);
    return text + " [" + QString(filled, '#') + QString(width - filled, '-') + "]";
}
