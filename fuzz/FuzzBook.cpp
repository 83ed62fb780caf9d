#include "fuzz/FuzzBook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include "base/AppError.h"

namespace {

// The readers take a path, so each input goes through one file of this
// process, rewritten every run.
QString InputFile(const uint8_t* data, size_t size) {
    static QTemporaryFile file(QDir::tempPath() + "/xlsload-fuzz-XXXXXX");
    if (!file.isOpen() && !file.open()) qFatal("cannot create the fuzz input file");
    file.resize(0);
    file.seek(0);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.flush();
    return file.fileName();
}

}  // namespace

void ReadWholeBook(const uint8_t* data, size_t size,
                   const std::function<std::unique_ptr<Book>(const QString&)>& open) {
    const QString path = InputFile(data, size);
    try {
        const std::unique_ptr<Book> book = open(path);
        for (int i = 0; i < book->SheetNames().size(); ++i) book->ReadSheet(i);
    } catch (const AppError&) {
    }
}
