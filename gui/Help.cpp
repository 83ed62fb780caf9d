#include "gui/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "base/Version.h"

namespace {

// The libraries the program is built on, with their licences.
constexpr const char* kLibraries[][2] = {
    {"Qt 6", "GNU LGPL 3"},     {"libgsf", "GNU LGPL 2.1"},   {"SQLite", "public domain"},
    {"mdbtools", "GNU LGPL 2"}, {"unixODBC", "GNU LGPL 2.1"}, {"FreeTDS", "GNU LGPL 2"},
    {"psqlODBC", "GNU LGPL 2"},
};

}  // namespace

QString AboutText(const QString& home) {
    QString text = QString(kVersion) + "\n\nProgram folder: " + QDir::toNativeSeparators(home) +
                   "\n\nBuilt on:";
    for (const auto& [library, licence] : kLibraries)
        text += QString("\n  %1 (%2)").arg(library, licence);
    return text;
}

void ShowAbout(QWidget* parent, const QString& home) {
    QMessageBox::about(parent, "About xlsload", AboutText(home));
}

QString UserGuidePath(const QString& programFolder) {
    for (const QString& candidate : {programFolder + "/../share/doc/xlsload/README.md",
                                     QStringLiteral(XLSLOAD_SOURCE_DIR "/README.md")}) {
        if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
    }
    return {};
}

void OpenUserGuide(QWidget* parent) {
    const QString guide = UserGuidePath(QCoreApplication::applicationDirPath());
    if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
        QMessageBox::information(
            parent, "User Guide",
            "The user guide is README.md in the folder share/doc/xlsload beside the program's "
            "own folder; it could not be opened here.");
}
