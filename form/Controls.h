#pragma once

#include <QString>
#include <QStringList>

// Plain state of the window's controls. The form model changes them; the Qt
// window shows them and writes the operator's typing back.

struct Label {
    QString caption;
    bool visible = true;
};

struct TextBox {
    QString text;
    int maxLength = 0;  // 0: no limit
    bool enabled = true;
    bool visible = true;
    bool locked = false;    // display only
    bool password = false;  // shows "*" for every character
};

struct Button {
    QString caption;
    bool enabled = true;
    bool visible = true;
};

// A drop-down list or a list box: entries and the selected position (-1: none).
struct ListControl {
    QStringList items;
    int listIndex = -1;

    void Clear() {
        items.clear();
        listIndex = -1;
    }
    QString Text() const {
        return listIndex >= 0 && listIndex < items.size() ? items[listIndex] : QString();
    }
};

// A colour swatch of the legend, &HBBGGRR.
struct Swatch {
    int color = 0;
};
