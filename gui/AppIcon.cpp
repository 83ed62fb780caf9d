#include "gui/AppIcon.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/xlsload/icons/xlsload.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(AppIconPixmap(size));
    return icon;
}
