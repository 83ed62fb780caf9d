#include "gui/GrowingLayout.h"

#include <QWidget>
#include <cmath>

void GrowingLayout::Add(QWidget* control, Shares shares) {
    entries_.push_back({control, control->geometry(), shares});
}

void GrowingLayout::Apply(QSize size) const {
    const int dx = std::max(0, size.width() - base_.width());
    const int dy = std::max(0, size.height() - base_.height());
    // Rounded alike, so that neighbours sharing an edge keep sharing it.
    const auto part = [](double share, int extra) { return int(std::lround(share * extra)); };
    for (const Entry& e : entries_) {
        const int left = e.place.left() + part(e.shares.left, dx);
        const int top = e.place.top() + part(e.shares.top, dy);
        const int right =
            e.place.left() + e.place.width() + part(e.shares.left + e.shares.width, dx);
        const int bottom =
            e.place.top() + e.place.height() + part(e.shares.top + e.shares.height, dy);
        e.control->setGeometry(left, top, right - left, bottom - top);
    }
}
