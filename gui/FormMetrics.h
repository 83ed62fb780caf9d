#pragma once

#include <QFont>
#include <QRect>

// The forms are laid out in twips, as they were designed: 15 twips make one
// pixel at normal density.
constexpr int Px(int twips) { return twips / 15; }

inline QRect TwipsRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

// Verdana 8.25 pt; where Verdana is missing the font matcher picks the
// nearest family at the same size.
inline QFont FormFont(bool bold = false) {
    QFont font("Verdana");
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}
