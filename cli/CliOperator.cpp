#include "cli/CliOperator.h"

#include <unistd.h>

#include <algorithm>
#include <optional>

#include "form/CountText.h"
#include "form/ProgressRate.h"

namespace {

// The rows done and the total of a text ending "N of M", when it has them.
struct RowCount {
    qint64 done = 0;
    qint64 total = 0;
};

std::optional<RowCount> CountOf(const QString& text) {
    qint64 done = 0, total = 0;
    if (!ReadProgress(text, done, total) || total <= 0) return std::nullopt;
    return RowCount{std::min(done, total), total};
}

}  // namespace

CliOperator::CliOperator(bool yes, std::FILE* out, bool quiet)
    : yes_(yes), out_(out), showProgress_(!quiet && isatty(fileno(out)) != 0) {}

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

void CliOperator::Notice(const QString& text) { Print("Notice: " + text); }

void CliOperator::Progress(const QString& text) {
    if (!showProgress_) return;
    // The form clears its progress between passes.
    if (text.isEmpty()) {
        EraseProgress();
        rate_.Note(text);
        return;
    }
    rate_.Note(text);
    std::fputs(
        ("\r" + ProgressLine(text, 20, rate_.RowsPerSecond()) + "\x1b[K").toLocal8Bit().constData(),
        out_);
    std::fflush(out_);
    progressShown_ = true;
}

QString ProgressLine(const QString& text, int width, double rowsPerSecond) {
    const auto count = CountOf(text);
    if (!count) return text;
    const int filled = static_cast<int>(count->done * width / count->total);
    QString line = text + " [" + QString(filled, '#') + QString(width - filled, '-') + "]";
    if (const QString rate = RateText(count->done, count->total, rowsPerSecond); !rate.isEmpty())
        line += " " + rate;
    return line;
}
