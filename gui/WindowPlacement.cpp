#include "gui/WindowPlacement.h"

#include <algorithm>

WindowPlacement PlaceWindow(QSize designed, QRect available, QSize frame, int scrollBar) {
    const QSize room = (available.size() - frame).expandedTo(QSize(1, 1));
    const QSize smallest = designed.boundedTo(QSize(800, 600)).boundedTo(room);
    QSize size = designed.boundedTo(room);
    if (size.height() < designed.height())
        size.setWidth(std::min(room.width(), designed.width() + scrollBar));
    if (size.width() < designed.width())
        size.setHeight(std::min(room.height(), designed.height() + scrollBar));
    // Centred in the available area, the title bar below its top edge.
    QRect opening(QPoint(), size);
    opening.moveCenter(available.center());
    opening.moveTop(std::max(opening.top(), available.top() + frame.height() - frame.width() / 2));
    opening.moveLeft(std::max(opening.left(), available.left() + frame.width() / 2));
    return {opening, smallest};
}
