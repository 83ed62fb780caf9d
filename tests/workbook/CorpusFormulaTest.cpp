// Formula cells of the real-world workbooks read as the results their files
// saved, as `xlsload dump` writes them, checked against the corpus
// manifest's reading by an independent reader where the two readers agree
// on the rules (this one reads booleans as 1 and 0, errors as null, and
// makes repeated column names unique).
#include <gtest/gtest.h>

#include <QCryptographicHash>

#include "TestWorkbooks.h"
#include "base/LineField.h"
#include "workbook/SheetDump.h"

namespace {

QJsonObject ReferenceSheet(const QJsonObject& entry, const QString& name) {
    for (const QJsonValue& s : entry["xlrd"]["sheets"].toArray())
        if (s["name"].toString() == name) return s.toObject();
    return {};
}

// Sheets whose results came from formulas of each kind: their whole dump is
// the manifest's rendering of the sheet.
TEST(CorpusFormulas, SheetsReadAsTheReferenceReadsThem) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    const QHash<QString, QJsonObject> manifest = CorpusManifest(corpus);
    struct Case {
        const char* file;
        const char* sheet;
        const char* reference = nullptr;  // the manifest's name of the sheet, when another
    };
    const Case cases[] = {
        {"poi__StringFormulas.xls", "Sheet1"},             // a text result as the header
        {"sheetjs__formula_stress_test.xls", "Database"},  // numbers
        {"sheetjs__formula_stress_test.xls", "Date"},      // dates from date formats
        {"sheetjs__formula_stress_test.xls", "Lookup"},    // texts
        {"sheetjs__formula_stress_test.xls", "Math"},
        {"ExcelDataReader__Test_LotsOfSheets.xls", "DeNormalisedData"},  // 7750 formulas
        {"sheetjs__crlf-CRLFR9.xls", "A"},                               // a text with line breaks
        {"readxl__datetime-rounding.xls", "Sheet1"},
        {"xlrd__namesdemo.xls", "Sheet1"},
        {"poi__44010-SingleChart.xls", "auto_1"},
        {"calamine__ptgexp-truncated-operand.xls", "Tab 1"},  // BIFF7, a text result
        {"poi__testEXCEL_95.xls", "Feuil1"},                  // BIFF5
        {"poi__testEXCEL_4.xls", "Sheet 1"},                  // BIFF4
        {"poi__testEXCEL_3.xls", "Sheet 1"},                  // BIFF3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 / %2").arg(c.file, c.sheet).toStdString());
        const QJsonObject reference =
            ReferenceSheet(manifest.value(c.file), c.reference ? c.reference : c.sheet);
        ASSERT_FALSE(reference.isEmpty()) << "no reference reading";
        const QString dump = DumpSheet(corpus + "/" + c.file, c.sheet, WriteSheetDump);
        EXPECT_EQ(dump.count('\n'), reference["reference_lines"].toInt());
        EXPECT_EQ(QCryptographicHash::hash(dump.toUtf8(), QCryptographicHash::Sha256).toHex(),
                  reference["reference_sha256"].toString().toLatin1());
    }
}

// The header row of every sheet of the workbooks kept for their formulas is
// the reference's first row, an empty cell named "F" + its column number.
TEST(CorpusFormulas, HeaderRowsAsTheReferenceReadsThem) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    for (const QJsonObject& entry : CorpusManifest(corpus)) {
        if (entry["category"].toString() != "formulas") continue;
        const QString file = entry["file"].toString();
        for (const QJsonValue& s : entry["xlrd"]["sheets"].toArray()) {
            const QJsonArray firstRow = s["digest"]["first_row"].toArray();
            if (firstRow.isEmpty()) continue;
            SCOPED_TRACE((file + " / " + s["name"].toString()).toStdString());
            const bool booleans = s["digest"]["cell_types"]["boolean"].toInt() > 0;
            QStringList names;
            for (qsizetype i = 0; i < firstRow.size(); ++i) {
                QString name = firstRow[i].toString();
                if (name.isEmpty()) name = QString("F%1").arg(i + 1);
                if (booleans && (name == "True" || name == "False"))
                    name = name == "True" ? "1" : "0";
                names.append(LineField(name));
            }
            const QString dump =
                DumpSheet(corpus + "/" + file, s["name"].toString(), WriteSheetDump);
            EXPECT_EQ(dump.section('\n', 0, 0).toStdString(), names.join('\t').toStdString());
        }
    }
}

// Results as saved, where the reference's rules differ or the point is the
// stored value itself: texts from UTF-16 STRING records, an empty text, a
// boolean and an error; a boolean header; a result saved without
// recalculation (1 + 3 saved as 3), counting as a number in its column.
TEST(CorpusFormulas, ResultsAsSaved) {
    const QString corpus = CorpusDir();
    if (corpus.isEmpty()) GTEST_SKIP() << "no shared xls corpus beside the repository";
    struct Case {
        const char* file;
        const char* sheet;
        const char* dump;
        const char* columns;
    };
    const Case cases[] = {
        {"xlrd__formula_test_sjmachin.xls", "Sheet1",
         "Description\tData\n"
         "Non-latin1 text\t\u041C\u041E\u0421\u041A\u0412\u0410 "
         "\u041C\u043E\u0441\u043A\u0432\u0430\n"
         "formula number\t0.142857142857143\n"
         "formula text\tABCDEF\n"
         "formula zero-length text\t\n"
         "formula boolean\t1\n"
         "formula error\t\n"
         "formula non-latin1 text\t\u041C\u041E\u0421\u041A\u0412\u0410 "
         "\u041C\u043E\u0441\u043A\u0432\u0430\n",
         "Description\t202\nData\t202\n"},
        {"ExcelDataReader__Test_Issue_BoolFormula.xls", "Sheet1", "1\n", "1\t202\n"},
        {"ExcelDataReader__Uncalculated.xls", "Uncalculated", "A\t+\tB\t=\tC\n1\t+\t3\t=\t3\n",
         "A\t5\n+\t202\nB\t5\n=\t202\nC\t5\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = corpus + "/" + c.file;
        EXPECT_EQ(DumpSheet(path, c.sheet, WriteSheetDump).toStdString(), c.dump);
        EXPECT_EQ(DumpSheet(path, c.sheet, WriteSheetColumns).toStdString(), c.columns);
    }
}

}  // namespace
