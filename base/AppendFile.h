#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A file the program adds lines to: a verdict file, the daily log. It is
// never opened through a symbolic link, which would make the program add
// to whatever file the link names, and every write is checked, a full disk
// included, so that nothing is reported as written that was not. Failures
// raise AppError naming the file.
class AppendFile {
public:
    // Opens the file for adding to its end, creating it when missing.
    explicit AppendFile(const QString& path);
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    // Closes without a word: only after a failure, when another is reported.
    ~AppendFile();

    void Append(const QByteArray& bytes);
    // Writes out what is buffered and closes the file.
    void Close();
    QString Path() const { return path_; }

private:
    [[noreturn]] void Fail(const QString& why) const;
    QString path_;  // a file opened by its handle has no name of its own
    QFile file_;
};
