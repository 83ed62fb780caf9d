#include "base/FileKind.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>
#include <cstring>

QString NotARegularFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (path.isEmpty()) return "does not exist";
    if (stat(name.constData(), &info) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ELOOP) return "is a loop of symbolic links";
        if (error == ENOENT && lstat(name.constData(), &link) == 0)
            return "is a symbolic link to nothing";
        if (error == ENOENT || error == ENOTDIR) return "does not exist";
        return "cannot be reached (" + QString::fromLocal8Bit(std::strerror(error)) + ")";
    }
    if (S_ISREG(info.st_mode)) return {};
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (S_ISFIFO(info.st_mode)) return "is a named pipe (FIFO)";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device";
    if (S_ISSOCK(info.st_mode)) return "is a socket";
    return "is not a regular file";
}
