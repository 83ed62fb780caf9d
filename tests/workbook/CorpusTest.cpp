// Every real-world workbook of the shared corpus is read or refused with a
// message that says why, in a child process under a time and a memory limit:
// a crash, a hang or a runaway allocation fails the test. Where the corpus
// manifest has a reading of its own (xlrd's), the sheet names and record
// counts must agree.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "ProbeRun.h"
#include "TestWorkbooks.h"

namespace {

// Files the corpus marks as beyond reading: they must be refused.
const QStringList kMustRefuse = {
    "calamine__too_small.xls",
    "ExcelDataReader__TestFail_Binary.xls",
    "poi__clusterfuzz-testcase-minimized-POIHSSFFuzzer-4819588401201152.xls",
    "poi__clusterfuzz-testcase-minimized-POIHSSFFuzzer-5786329142919168.xls",
    "poi__clusterfuzz-testcase-minimized-POIHSSFFuzzer-5816431116615680.xls",
    "ExcelDataReader__Test_Issue_12556_corrupt.xls",
    "libxls__xls2csv_ole_ole2_fread_327.xls",
};

// "name<TAB>records" lines of a probe's output, in order.
QStringList Sheets(const QString& output) {
    QStringList sheets;
    for (const QString& line : output.split('\n', Qt::SkipEmptyParts))
        if (line.startsWith("sheet\t")) sheets.append(line.mid(6));
    return sheets;
}

// The reference's sheets the same way: a sheet rendered as reference_lines
// lines has one line less of records (its header), or none when it is empty.
QStringList ReferenceSheets(const QJsonObject& entry) {
    QStringList sheets;
    for (const QJsonValue& s : entry["xlrd"]["sheets"].toArray()) {
        const int lines = s["reference_lines"].toInt();
        sheets.append(QString("%1\t%2").arg(s["name"].toString()).arg(qMax(0, lines - 1)));
    }
    return sheets;
}

TEST(Corpus, EveryFileReadOrRefusedClearly) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    const QHash<QString, QJsonObject> manifest = CorpusManifest(corpus);
    ASSERT_FALSE(manifest.isEmpty()) << "manifest.json missing or unreadable";
    const QStringList files = QDir(corpus).entryList({"*.xls"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), manifest.size()) << "files and manifest disagree";

    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const ProbeRun run = RunProbe(WORKBOOK_PROBE, corpus + "/" + file);
        ASSERT_TRUE(run.finished) << "no answer within the time limit";
        ASSERT_FALSE(run.crashed) << "killed by a signal";
        ASSERT_TRUE(run.status == 0 || run.status == 3) << "exit status " << run.status;
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        const QJsonObject entry = manifest.value(file);

        if (run.status == 3) {
            EXPECT_TRUE(run.output.startsWith("refused\t")) << run.output.toStdString();
            EXPECT_TRUE(run.output.contains(file)) << "the message names the file";
            if (entry["encrypted"].isObject()) {
                EXPECT_TRUE(run.output.contains("password protected")) << run.output.toStdString();
            }
            continue;
        }
        EXPECT_FALSE(entry["encrypted"].isObject()) << "an encrypted file read as if plain";
        EXPECT_FALSE(kMustRefuse.contains(file)) << "a broken file read";
        if (!entry["xlrd"]["sheets"].isArray()) continue;
        EXPECT_EQ(Sheets(run.output).join('\n').toStdString(),
                  ReferenceSheets(entry).join('\n').toStdString());
    }
}

}  // namespace
