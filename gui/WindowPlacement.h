#pragma once

#include <QRect>
#include <QSize>

// Where the window opens and how small it may get, on a screen whose
// available area (without task bars) is available, in logical pixels at any
// scale. frame: what the window manager adds around the window (title bar
// and borders); scrollBar: a scroll bar's breadth. The window opens at its
// designed size where that fits, else as large as fits, centred, with room
// for the scroll bar the shorter side needs; it may shrink to about
// 800 x 600, or less on a screen smaller than that, its form then scrolling
// inside it.
struct WindowPlacement {
    QRect opening;
    QSize smallest;
};
WindowPlacement PlaceWindow(QSize designed, QRect available, QSize frame, int scrollBar);
