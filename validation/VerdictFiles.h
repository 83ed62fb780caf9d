#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class AppendFile;

// The verdict files of a Verify pass: <prefix><verdict>.txt, one line a
// record. Each file is opened once, on its first line. Failures raise
// AppError naming the file.
class VerdictFiles {
public:
    explicit VerdictFiles(QString prefix);
    ~VerdictFiles();
    // Adds a line, in UTF-8 with its end, to the verdict's file.
    void Append(const QString& verdict, const QByteArray& line);
    // Writes out and closes every file: only then are the lines known written.
    void Close();
    // The names of the files written so far, without their folder.
    QStringList Names() const;

private:
    QString prefix_;
    std::map<QString, std::unique_ptr<AppendFile>> files_;
};
