#include "gui/NameOnlyIconProvider.h"

#include <QFileInfo>
#include <QMimeDatabase>

QIcon NameOnlyIconProvider::icon(IconType type) const { return standard_.icon(type); }

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    return standard_.icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("Folder");
    const QMimeType mime =
        QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return mime.comment().isEmpty() ? mime.name() : mime.comment();
}
