#pragma once

#include <QAbstractFileIconProvider>
#include <QFileIconProvider>

// The icons and type names of a file dialog's entries, from their names
// alone. Qt's own provider reads a file's first bytes to tell its type, and
// closing that handle drops every lock the process holds on the file: on
// the SQLite database the window has open, another program could then take
// the write-ahead log for its own and delete it.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QFileIconProvider standard_;  // its icons by kind read no file
};
