#pragma once

#include <QLabel>

// A one-line label that ends its text with "..." where the text is wider
// than the label, instead of widening the panel that holds it.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
