#pragma once

#include <QDialog>

#include "base/ErrorVariables.h"

// The modal error dialog TRERR: what failed, where, and its message. Closing
// it with the close box is the same as Continue.
class TrerrDialog : public QDialog {
    Q_OBJECT

public:
    explicit TrerrDialog(const ErrorVariables& error, QWidget* parent = nullptr);

private:
    void AddLabel(const char* name, const QString& text, int left, int top, int width, int height);
};
