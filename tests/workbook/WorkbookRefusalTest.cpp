#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "workbook/SheetConnection.h"
#include "workbook/Workbook.h"

namespace {

struct Refusal {
    QString path;
    const char* says;  // the part of the message that tells why
};

void ExpectRefused(const Refusal& r) {
    SCOPED_TRACE(r.path.toStdString());
    try {
        Workbook::Open(r.path);
        ADD_FAILURE() << "opened";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.Description().contains(r.says)) << e.Description().toStdString();
        EXPECT_TRUE(e.Description().contains(QFileInfo(r.path).fileName()))
            << "the message names the file: " << e.Description().toStdString();
    }
    // The sheet listing and the sheet engine refuse the same way.
    EXPECT_THROW(SheetNames(r.path), AppError);
    EXPECT_THROW(SheetConnection::OpenWorkbook(r.path), AppError);
}

TEST(WorkbookRefusal, BrokenFilesSayWhy) {
    const Refusal cases[] = {
        {TestWorkbook("no-such-file.xls"), "Could not find the workbook"},
        {TestWorkbook(""), "is a folder, not a workbook file"},
        {TestWorkbook("empty.xls"), "is an empty file"},
        {TestWorkbook("random.xls"), "is not an Excel workbook"},
        {TestWorkbook("text.xls"), "is not an Excel workbook"},
        {TestWorkbook("renamed-xlsx.xls"), "(.xlsx)"},
        {TestWorkbook("truncated.xls"), "is truncated or damaged"},
        {TestWorkbook("biff2.xls"), "Excel 2.x workbook, a format too old"},
        // A formula's text result cut short, or missing: the workbook is not
        // read at all rather than read without it.
        {TestWorkbook("formula-truncated-text.xls"),
         "is damaged: the result of the formula in cell R2C1 of sheet \"Results\" cannot be read"},
        {TestWorkbook("formula-missing-text.xls"),
         "is damaged: the result of the formula in cell R2C1 of sheet \"Results\" cannot be read"},
    };
    for (const Refusal& r : cases) ExpectRefused(r);
}

// A path that is no file is refused before it is opened, saying what it is:
// opening a pipe to read it would wait for a writer for ever.
TEST(WorkbookRefusal, APathThatIsNoFileSaysWhatItIs) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.xls");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString loop = dir.filePath("loop.xls");
    ASSERT_TRUE(QFile::link(dir.filePath("other.xls"), loop));
    ASSERT_TRUE(QFile::link(loop, dir.filePath("other.xls")));
    const QString dangling = dir.filePath("dangling.xls");
    ASSERT_TRUE(QFile::link(dir.filePath("gone.xls"), dangling));
    const Refusal cases[] = {
        {fifo, "is a named pipe (FIFO), not a workbook file"},
        {loop, "is a loop of symbolic links, not a workbook file"},
        {dangling, "is a symbolic link to nothing, not a workbook file"},
        {"/dev/zero", "is a device, not a workbook file"},
    };
    for (const Refusal& r : cases) ExpectRefused(r);
}

TEST(WorkbookRefusal, EncryptedWorkbooksOfTheCorpus) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    for (const char* file : {"poi__50833.xls", "sheetjs__password_2002_40_xor.xls",
                             "sheetjs__password_2002_128_strong.xls", "poi__60284.xls"})
        ExpectRefused({corpus + "/" + file, "is password protected (encrypted)"});
}

}  // namespace
