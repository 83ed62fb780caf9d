#pragma once

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

// The window is laid out at its default size; when it grows, each control
// it knows moves and grows by shares of the extra width and height, so the
// default size stays exactly as designed.
class GrowingLayout {
public:
    // Shares of the extra width (x) and height (y) that a control's left
    // and top edges move by and that its width and height grow by.
    struct Shares {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
    };

    explicit GrowingLayout(QSize base) : base_(base) {}

    // Takes the control's present geometry as its place at the default size.
    void Add(QWidget* control, Shares shares);
    // Places every control for the window's new size.
    void Apply(QSize size) const;

private:
    struct Entry {
        QWidget* control;
        QRect place;
        Shares shares;
    };
    QSize base_;
    std::vector<Entry> entries_;
};
