#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>

#include "base/AppError.h"
#include "companies/CompanyDirectory.h"

namespace {

QByteArray Fixture(const char* file) {
    QFile f(QString(XLSLOAD_SOURCE_DIR "/tests/support/companies/") + file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QByteArray RandomBytes(qsizetype size) {
    QRandomGenerator random(7);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(random.bounded(256));
    return bytes;
}

enum class FailsAt { Open, Reading };

// A file to put where the directory is expected, and how opening and
// reading it must fail: Jet's error number, raised by Open or by List/Find.
struct BadFile {
    const char* what;
    std::function<QByteArray()> content;
    FailsAt failsAt;
    qint32 number;
};

void PrintTo(const BadFile& f, std::ostream* os) { *os << f.what; }

class BadFileTest : public testing::TestWithParam<BadFile> {};

void ExpectFailure(const std::function<void()>& action, qint32 number, const QString& path) {
    try {
        action();
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), number) << e.Description().toStdString();
        EXPECT_TRUE(e.Description().contains(path)) << e.Description().toStdString();
    }
}

TEST_P(BadFileTest, FailsWithAMessageNamingTheFile) {
    const BadFile& bad = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath("CompFile.mdb");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bad.content());
    file.close();

    if (bad.failsAt == FailsAt::Open) {
        ExpectFailure([&] { CompanyDirectory::Open(path); }, bad.number, path);
        return;
    }
    const auto directory = CompanyDirectory::Open(path);
    EXPECT_TRUE(directory->IsOpen());
    ExpectFailure([&] { directory->List(); }, bad.number, path);
    ExpectFailure([&] { directory->Find("C001"); }, bad.number, path);
}

constexpr qint32 kCorrupt = 3049;
constexpr qint32 kNoSuchTable = 3078;
constexpr qint32 kUnrecognizedFormat = 3343;

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    testing::Values(
        BadFile{"empty", [] { return QByteArray(); }, FailsAt::Open, kUnrecognizedFormat},
        BadFile{"random bytes", [] { return RandomBytes(64 * 1024); }, FailsAt::Open,
                kUnrecognizedFormat},
        BadFile{"text", [] { return QByteArray("CompanyCode,CompanyName\nC001,Demo Trading\n"); },
                FailsAt::Open, kUnrecognizedFormat},
        BadFile{"Access header over random pages",
                [] { return Fixture("CompFile.mdb").left(4096) + RandomBytes(27 * 4096); },
                FailsAt::Open, kCorrupt},
        BadFile{"cut inside a page", [] { return Fixture("CompFile.mdb").left(100000); },
                FailsAt::Open, kCorrupt},
        BadFile{"cut before the catalogue's rows",
                [] { return Fixture("CompFile.mdb").left(14 * 4096); }, FailsAt::Open, kCorrupt},
        BadFile{"cut before the table's definition",
                [] { return Fixture("CompFile.mdb").left(16 * 4096); }, FailsAt::Reading, kCorrupt},
        BadFile{"cut before the table's rows",
                [] { return Fixture("CompFile.mdb").left(26 * 4096); }, FailsAt::Reading, kCorrupt},
        BadFile{"without table CompanyFile", [] { return Fixture("CompFile-notable.mdb"); },
                FailsAt::Reading, kNoSuchTable}));

constexpr qint32 kFileNotFound = 3024;
constexpr qint32 kCannotOpen = 3051;

TEST(UnopenableFileTest, MissingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("CompFile.mdb");
    ExpectFailure([&] { CompanyDirectory::Open(path); }, kFileNotFound, path);
}

TEST(UnopenableFileTest, FolderInPlaceOfTheFile) {
    QTemporaryDir dir;
    ExpectFailure([&] { CompanyDirectory::Open(dir.path()); }, kCannotOpen, dir.path());
}

// A pipe in place of the file would block the window at its start.
TEST(UnopenableFileTest, PipeInPlaceOfTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("CompFile.mdb");
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    ExpectFailure([&] { CompanyDirectory::Open(path); }, kCannotOpen, path);
}

TEST(UnopenableFileTest, FileWithoutReadPermission) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads any file regardless of its permissions";
    QTemporaryDir dir;
    const QString path = dir.filePath("CompFile.mdb");
    ASSERT_TRUE(
        QFile::copy(QString(XLSLOAD_SOURCE_DIR "/tests/support/companies/CompFile.mdb"), path));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::WriteOwner));
    ExpectFailure([&] { CompanyDirectory::Open(path); }, kCannotOpen, path);
}

}  // namespace
