#include "gui/TrerrDialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/FormMetrics.h"

namespace {
constexpr int kClientWidth = 6375;
constexpr int kClientHeight = 5415;
constexpr int kLineHeight = 240;
}  // namespace

TrerrDialog::TrerrDialog(const ErrorVariables& error, QWidget* parent) : QDialog(parent) {
    setObjectName("TRERR");
    setWindowTitle("Error Message");
    setFont(FormFont());
    setFixedSize(Px(kClientWidth), Px(kClientHeight));
    setModal(true);

    // Created first so that it comes first in the focus order.
    auto* cclose = new QPushButton("&Continue", this);
    cclose->setObjectName("CClose");
    cclose->setGeometry(TwipsRect(4920, 4920, 1335, 375));
    cclose->setDefault(true);
    connect(cclose, &QPushButton::clicked, this, &QDialog::accept);

    const int wide = kClientWidth - 2 * 240;
    AddLabel("Label3",
             "Sorry for the inconvenience, the program has encountered an error while "
             "executing certain task.",
             240, 240, wide, 2 * kLineHeight);
    AddLabel("Label4",
             "Note down the below error code and message and contact your system support.", 240,
             720, wide, 2 * kLineHeight);
    AddLabel("Label1", "Error Code", 240, 1440, 1455, kLineHeight);
    AddLabel("Label6", "Form", 240, 1800, 1455, kLineHeight);
    AddLabel("Label5", "Sub", 240, 2160, 1455, kLineHeight);
    AddLabel("Label2", "Message : -", 240, 2520, 1455, kLineHeight);
    const QString number = error.ErrNumber ? QString::number(*error.ErrNumber) : QString();
    const int valueWidth = kClientWidth - 1800 - 240;
    AddLabel("ErrCode", number, 1800, 1440, valueWidth, kLineHeight);
    AddLabel("ErrForm", error.ErrFormName, 1800, 1800, valueWidth, kLineHeight);
    AddLabel("ErrSub", error.ErrProcName, 1800, 2160, valueWidth, kLineHeight);

    auto* errTxt = new QPlainTextEdit(error.ErrDescription, this);
    errTxt->setObjectName("ErrTxt");
    errTxt->setGeometry(TwipsRect(120, 2760, 6135, 2055));
    errTxt->setReadOnly(true);
    errTxt->setFont(FormFont(true));

    setTabOrder(cclose, errTxt);
    cclose->setFocus();
}

void TrerrDialog::AddLabel(const char* name, const QString& text, int left, int top, int width,
                           int height) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(TwipsRect(left, top, width, height));
    label->setWordWrap(height > kLineHeight);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
