// A file the program adds to is written whole or its failure names it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "base/AppError.h"
#include "base/AppendFile.h"

namespace {

std::string FailureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const AppError& e) {
        return e.Description().toStdString();
    }
    return {};
}

TEST(AppendFileTest, AddsToTheEndAndSaysWhenItCannot) {
    QTemporaryDir dir;
    const QString path = dir.filePath("OK.txt");
    for (const char* line : {"first\r\n", "second\r\n"}) {
        AppendFile file(path);
        file.Append(line);
        file.Close();
    }
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "first\r\nsecond\r\n");

    // A full disk: the buffered lines fail when they are written out.
    EXPECT_EQ(FailureOf([] {
                  AppendFile full("/dev/full");
                  full.Append("a line\r\n");
                  full.Close();
              }),
              "Path/File access error: /dev/full could not be written: No space left on device.");

    // A link is not followed: what it names stays as it was.
    const QString target = dir.filePath("elsewhere.txt");
    const QString link = dir.filePath("Book_Migrate_OK.txt");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(FailureOf([&] { AppendFile{link}; }),
              ("Path/File access error: " + link +
               " could not be written: it is a symbolic link, and the program writes its "
               "files only where they are.")
                  .toStdString());
    EXPECT_FALSE(QFile::exists(target));
}

}  // namespace
