#include "validation/VerdictFiles.h"

#include <QFile>
#include <QFileInfo>

#include "base/AppError.h"

namespace {

[[noreturn]] void ThrowAccessError(const QFile& file) {
    throw AppError(ErrorNumber::FileAccess,
                   "Path/File access error: " + file.fileName() + " " + file.errorString());
}

}  // namespace

VerdictFiles::VerdictFiles(QString prefix) : prefix_(std::move(prefix)) {}

VerdictFiles::~VerdictFiles() = default;

void VerdictFiles::Append(const QString& verdict, const QByteArray& line) {
    auto& file = files_[verdict];
    if (!file) {
        file = std::make_unique<QFile>(prefix_ + verdict + ".txt");
        if (!file->open(QIODevice::WriteOnly | QIODevice::Append)) ThrowAccessError(*file);
    }
    if (file->write(line) != line.size()) ThrowAccessError(*file);
}

QStringList VerdictFiles::Names() const {
    QStringList names;
    for (const auto& [verdict, file] : files_) names << QFileInfo(file->fileName()).fileName();
    return names;
}
