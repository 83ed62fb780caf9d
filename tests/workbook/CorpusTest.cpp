// Every real-world workbook of the shared corpus is read or refused with a
// message that says why, in a child process under a time and a memory limit:
// a crash, a hang or a runaway allocation fails the test. Where the corpus
// manifest has a reading of its own (xlrd's), the sheet names and record
// counts must agree, and nearly every sheet both read must read as the same
// text (its digest).
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

constexpr double kAgreeingShare = 0.95;

// Sheets ("file / sheet") known to read differently from the reference, and
// why: the sheet rules write dates as Excel counts the days, and durations
// as durations. They count in the share; the reason is printed beside them.
const char* const kElapsed =
    "elapsed-time formats read as durations (\"36:00:00\"), the reference as dates";
const char* const kLeapYear =
    "days before 1900-03-01 read as Excel shows them, the reference one day earlier";
const QHash<QString, const char*> kKnownDifferences = {
    {"ExcelDataReader__Test_git_issue_283_TimeSpan.xls / Sheet1", kElapsed},
    {"ExcelDataReader__Test_git_issue_694_TimeSpan.xls / Feuilles de temps et activités", kElapsed},
    {"readxl__dates-leap-year-1900-xls.xls / for_testing", kLeapYear},
    {"readxl__dates-leap-year-1900-xls.xls / for_human_eyes", kLeapYear},
    {"sheetjs__LONumbers.xls / Sheet1", kElapsed},
};

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

// "name<TAB>records" of each sheet, in order.
QStringList NamesAndRecords(const QList<SheetLine>& sheets) {
    QStringList lines;
    for (const SheetLine& s : sheets) lines.append(s.name + '\t' + s.records);
    return lines;
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

    int compared = 0, sameSheets = 0, comparable = 0, agreeing = 0;
    QStringList disagreeing;

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
        const QList<SheetLine> sheets = ProbeSheets(run.output);
        const QStringList read = NamesAndRecords(sheets);
        const QStringList reference = ReferenceSheets(entry);
        ++compared;
        EXPECT_EQ(read.join('\n').toStdString(), reference.join('\n').toStdString());
        if (read == reference) ++sameSheets;

        QHash<QString, QString> digests;
        for (const QJsonValue& s : entry["xlrd"]["sheets"].toArray())
            if (s["reference_sha256"].isString())
                digests.insert(s["name"].toString(), s["reference_sha256"].toString());
        for (const SheetLine& s : sheets) {
            if (s.digest == "-" || !digests.contains(s.name)) continue;
            ++comparable;
            if (s.digest == digests[s.name])
                ++agreeing;
            else
                disagreeing.append(file + " / " + s.name + " (" +
                                   kKnownDifferences.value(file + " / " + s.name, "not known") +
                                   ")");
        }
    }
    std::cout << sameSheets << " of " << compared << " files read with the reference's sheets; "
              << agreeing << " of " << comparable << " sheets agree\n"
              << "differing: " << disagreeing.join("; ").toStdString() << "\n";
    EXPECT_GE(agreeing, kAgreeingShare * comparable);
}

}  // namespace
