#include "validation/VerdictFiles.h"

#include <QFileInfo>

#include "base/AppendFile.h"

VerdictFiles::VerdictFiles(QString prefix) : prefix_(std::move(prefix)) {}

VerdictFiles::~VerdictFiles() = default;

void VerdictFiles::Append(const QString& verdict, const QByteArray& line) {
    auto& file = files_[verdict];
    if (!file) file = std::make_unique<AppendFile>(prefix_ + verdict + ".txt");
    file->Append(line);
}

void VerdictFiles::Close() {
    for (auto& [verdict, file] : files_) file->Close();
}

QStringList VerdictFiles::Names() const {
    QStringList names;
    for (const auto& [verdict, file] : files_) names << QFileInfo(file->Path()).fileName();
    return names;
}
