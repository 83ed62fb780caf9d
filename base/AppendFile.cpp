#include "base/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/AppError.h"

AppendFile::AppendFile(const QString& path) : path_(path) {
    const int fd = open(QFile::encodeName(path).constData(),
                        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail(errno == ELOOP ? QStringLiteral("it is a symbolic link, and the program writes "
                                             "its files only where they are")
                            : QString::fromLocal8Bit(std::strerror(errno)));
    if (!file_.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        close(fd);
        Fail(file_.errorString());
    }
}

AppendFile::~AppendFile() = default;

void AppendFile::Append(const QByteArray& bytes) {
    if (file_.write(bytes) != bytes.size()) Fail(file_.errorString());
}

void AppendFile::Close() {
    if (!file_.isOpen()) return;
    if (!file_.flush()) Fail(file_.errorString());
    file_.close();
    if (file_.error() != QFileDevice::NoError) Fail(file_.errorString());
}

void AppendFile::Fail(const QString& why) const {
    throw AppError(ErrorNumber::FileAccess,
                   "Path/File access error: " + path_ + " could not be written: " + why + ".");
}
