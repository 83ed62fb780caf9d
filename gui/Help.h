#pragma once

#include <QString>

class QWidget;

// The About box's text: the version, the program folder in use and the
// licences of the libraries the program is built on.
QString AboutText(const QString& home);
void ShowAbout(QWidget* parent, const QString& home);

// The user guide beside the program: installed under share/doc, or in the
// source tree of a build; empty where there is none.
QString UserGuidePath(const QString& programFolder);
// Opens the user guide, or says where it was looked for.
void OpenUserGuide(QWidget* parent);
