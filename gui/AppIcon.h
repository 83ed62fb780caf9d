#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own icon, drawn from icons/xlsload.svg: the file the
// desktop menu shows is the one the window shows.
QPixmap AppIconPixmap(int size);
QIcon AppIcon();
