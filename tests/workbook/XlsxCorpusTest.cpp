// Every workbook of the shared .xlsx corpus is read or refused as its
// manifest expects, in a child process under a time and a memory limit: a
// crash, a hang or a runaway allocation fails the test. Where the manifest's
// reference reading (openpyxl's) has the file, the sheet names must be the
// same, and nearly every sheet must read as the same text (its digest),
// apart from the differences listed below.
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

// Sheets ("file / sheet") where the reference reads differently by design,
// and why; they are left out of the share that must agree.
const char* const kEscapes = "_xHHHH_ escapes read as the characters Excel shows";
const char* const kElapsed =
    "elapsed-time formats read as durations (\"36:00:00\"), the reference as dates";
const char* const kLeapYear = "days before 1900-03-01 counted without Excel's phantom 1900-02-29";
const QHash<QString, const char*> kKnownDifferences = {
    {"calamine__has_x000D_.xlsx / Sheet1", kEscapes},
    {"poi__60289.xlsx / TABLE", kEscapes},
    {"rust_xlsxwriter__escapes09.xlsx / Sheet1", kEscapes},
    {"rust_xlsxwriter__shared_strings01.xlsx / Sheet1", kEscapes},
    {"sheetjs__crlf.xlsx / Sheet1", kEscapes},
    {"calamine__date.xlsx / Sheet1", kElapsed},
    {"calamine__date_1904.xlsx / Sheet1", kElapsed},
    {"ExcelDataReader__Test_git_issue_694_TimeSpan.xlsx / Feuilles de temps et activités",
     kElapsed},
    {"sheetjs__LONumbers.xlsx / Sheet1", kElapsed},
    {"sheetjs__number_format.xlsm / Implied", kElapsed},
    {"sheetjs__number_format.xlsm / ImpliedNegative", kElapsed},
    {"sheetjs__number_format.xlsm / 2011", kElapsed},
    {"PhpSpreadsheet__issue.3654.xlsx / Data",
     "built-in format 58, an East Asian date, reads as a date; the reference takes it for a "
     "number"},
    {"readxl__dates-leap-year-1900-xlsx.xlsx / for_testing", kLeapYear},
    {"readxl__dates-leap-year-1900-xlsx.xlsx / for_human_eyes", kLeapYear},
    {"poi__poc-shared-strings.xlsx / Tabelle1",
     "a text of a million characters, longer than a cell holds, reads as #VALUE!; the "
     "reference reads it whole"},
    {"ExcelDataReader__Test_git_issue_14_InvalidOADate.xlsx / Sheet1",
     "dates past openpyxl's range read as numbers, not as empty"},
};

TEST(XlsxCorpus, EveryFileReadOrRefusedAsExpected) {
    const QString corpus = CorpusDir("xlsx-corpus");
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xlsx corpus beside the repository";
    const QHash<QString, QJsonObject> manifest = CorpusManifest(corpus);
    ASSERT_FALSE(manifest.isEmpty()) << "manifest.json missing or unreadable";

    int compared = 0, sameSheets = 0, comparable = 0, agreeing = 0;
    QStringList disagreeing;
    for (auto it = manifest.cbegin(); it != manifest.cend(); ++it) {
        const QString& file = it.key();
        const QJsonObject& entry = it.value();
        SCOPED_TRACE(file.toStdString());
        const ProbeRun run = RunProbe(XLSX_PROBE, corpus + "/" + file);
        ASSERT_TRUE(run.finished) << "no answer within the time limit";
        ASSERT_FALSE(run.crashed) << "crashed";
        ASSERT_TRUE(run.status == 0 || run.status == 3) << "exit status " << run.status;
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();

        const QString expect = entry["expect"].toString();
        if (run.status == 3) {
            EXPECT_TRUE(expect.startsWith("refuse") || expect == "read-or-refuse")
                << run.output.toStdString();
            EXPECT_TRUE(run.output.contains(file)) << "the message names the file";
            if (expect == "refuse-encrypted") {
                EXPECT_TRUE(run.output.contains("password protected")) << run.output.toStdString();
            }
            continue;
        }
        EXPECT_TRUE(expect == "read" || expect == "read-or-refuse") << "read a file to refuse";
        const QJsonArray reference = entry["openpyxl"]["sheets"].toArray();
        if (!entry["openpyxl"]["sheets"].isArray()) continue;

        const QList<SheetLine> sheets = ProbeSheets(run.output);
        QStringList names, referenceNames;
        for (const SheetLine& s : sheets) names.append(s.name);
        for (const QJsonValue& s : reference) referenceNames.append(s["name"].toString());
        ++compared;
        EXPECT_EQ(names.join('\n').toStdString(), referenceNames.join('\n').toStdString());
        if (names != referenceNames) continue;
        ++sameSheets;
        for (int i = 0; i < sheets.size(); ++i) {
            if (sheets[i].digest == "-" ||
                kKnownDifferences.contains(file + " / " + sheets[i].name))
                continue;
            ++comparable;
            if (sheets[i].digest == reference[i]["tsv_sha256"].toString())
                ++agreeing;
            else
                disagreeing.append(file + " / " + sheets[i].name);
        }
    }
    std::cout << sameSheets << " of " << compared << " files read with the reference's sheets; "
              << agreeing << " of " << comparable << " sheets agree\n"
              << "differing: " << disagreeing.join("; ").toStdString() << "\n";
    EXPECT_EQ(sameSheets, compared);
    EXPECT_GE(agreeing, kAgreeingShare * comparable);
}

}  // namespace
