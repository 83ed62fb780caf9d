#include "gui/QtOperator.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <algorithm>

#include "form/CountText.h"
#include "gui/FileFilter.h"
#include "gui/NameOnlyIconProvider.h"
#include "gui/TrerrDialog.h"

namespace {
QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}
}  // namespace

void QtOperator::Attach(QWidget* window, std::function<void()> sync) {
    window_ = window;
    sync_ = std::move(sync);
}

void QtOperator::Sync() const {
    if (sync_) sync_();
}

void QtOperator::MsgBox(const QString& text, MsgIcon icon, const QString& title) {
    Sync();
    QMessageBox box(ToQt(icon), title, text, QMessageBox::Ok, window_);
    box.exec();
}

bool QtOperator::AskYesNo(const QString& text, const QString& title) {
    Sync();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    window_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtOperator::InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) {
    Sync();
    bool ok = false;
    const QString text =
        QInputDialog::getText(window_, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void QtOperator::ShowError(const ErrorVariables& error) {
    if (error.ErrInputMistake) {
        MsgBox(error.ErrDescription, MsgIcon::Critical, "Message");
        return;
    }
    Sync();
    TrerrDialog dialog(error, window_);
    dialog.exec();
}

QString QtOperator::OpenFile(const QString& title, const QString& folder, const QString& filter) {
    Sync();
    // Qt's own dialog, whose icons can be kept from reading the files it
    // lists; a desktop's native dialog would read them.
    QFileDialog dialog(window_, title, folder, QtFileFilter(filter));
    NameOnlyIconProvider icons;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setIconProvider(&icons);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void QtOperator::SetFocus(const QString& control) {
    if (!window_) return;
    if (auto* widget = window_->findChild<QWidget*>(control))
        widget->setFocus(Qt::OtherFocusReason);
}

// The pass keeps the thread: the label is repainted at once and pending
// events are let through, so that the window can be moved, resized and
// asked to stop the pass; the window itself starts no handler meanwhile.
void QtOperator::Notice(const QString& text) { Progress(text); }

void QtOperator::Progress(const QString& text) {
    if (!window_) return;
    if (auto* label = window_->findChild<QLabel*>("LblProgress")) {
        label->setText(text);
        label->repaint();
    }
    rate_.Note(text);
    if (auto* bar = window_->findChild<QProgressBar*>("ProgressBar")) {
        qint64 done = 0, total = 0;
        const bool counted = ReadProgress(text, done, total) && total > 0;
        bar->setVisible(counted);
        if (counted) {
            bar->setValue(int(std::min(done, total) * 1000 / total));
            const QString rate = RateText(done, total, rate_.RowsPerSecond());
            bar->setFormat(Grouped(done) + " of " + Grouped(total) +
                           (rate.isEmpty() ? "" : ", " + rate));
            bar->repaint();
        }
    }
    QCoreApplication::processEvents();
}
