// Worksheet and shared-string XML as the reader takes it, in packages
// written by hand: what XML allows and writers seldom produce (prefixed
// names, either quote, attributes in any order, references, CDATA,
// comments) reads as Excel shows it, and damaged XML is refused with a
// message that names the file and says why.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTemporaryDir>

#include "ProbeRun.h"
#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "workbook/XlsxBook.h"

namespace {

// A part as its text, or as pieces each repeated: [[text, count], ...].
QString WritePackage(const QTemporaryDir& dir, const QString& name, const QJsonValue& sheet,
                     const QJsonValue& sharedStrings = {}) {
    const QString path = dir.filePath(name);
    QJsonObject description{{"path", path}, {"sheet", sheet}};
    if (!sharedStrings.isNull()) description["sharedStrings"] = sharedStrings;
    RunWriter("write_package.py", description);
    return path;
}

QJsonArray Pieces(std::initializer_list<std::pair<QString, qint64>> pieces) {
    QJsonArray parts;
    for (const auto& [text, count] : pieces) parts.append(QJsonArray{text, count});
    return parts;
}

TEST(XlsxXml, WhatXmlAllowsReadsAsExcelShowsIt) {
    const QString sheet = QString::fromUtf8(R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- strict namespace, prefixed -->
<x:worksheet xmlns:x="http://purl.oclc.org/ooxml/spreadsheetml/main">
 <x:sheetData>
  <x:row r='1'>
   <x:c t='s' r='A1'><x:v>0</x:v></x:c>
   <x:c s="0" r="B1" t="inlineStr"><x:is><x:t>a &amp; b &lt;&gt; &quot;q&quot; &apos;s&apos; &#233;&#x20AC;</x:t></x:is></x:c>
   <x:c r="C1" t="inlineStr"><x:is><x:t><![CDATA[<raw> & text]]></x:t></x:is></x:c>
  </x:row>
  <?ignored processing instruction?>
  <x:row r="2">
   <x:c r="A2"><x:f>1+1</x:f><x:v> 2 </x:v></x:c>
   <x:c r = "B2" t = "str"><x:f>"a"&amp;"b"</x:f><x:v>line1&#13;&#10;line2</x:v></x:c>
   <x:c r="C2"/>
   <x:c r="D2" t="s"><x:v>1</x:v></x:c>
  </x:row>
 </x:sheetData>
</x:worksheet>)");
    const QString shared = R"(<sst xmlns="http://purl.oclc.org/ooxml/spreadsheetml/main">
<si><t>Shared &amp; one</t></si>
<si><r><t>Ri</t></r><r><t xml:space="preserve">ch</t></r><rPh><t>phonetic</t></rPh></si>
</sst>)";
    QTemporaryDir dir;
    const auto book = XlsxBook::Open(WritePackage(dir, "allowed.xlsx", sheet, shared));
    const CellGrid grid = book->ReadGrid(0);
    EXPECT_EQ(grid.Cell(0, 0).text, "Shared & one");
    EXPECT_EQ(grid.Cell(0, 1).text, QString::fromUtf8("a & b <> \"q\" 's' é€"));
    EXPECT_EQ(grid.Cell(0, 2).text, "<raw> & text");
    EXPECT_EQ(grid.Cell(1, 0).kind, SheetCell::Number);
    EXPECT_EQ(grid.Cell(1, 0).number, 2);
    EXPECT_EQ(grid.Cell(1, 1).text, "line1\r\nline2");
    EXPECT_EQ(grid.Cell(1, 2).kind, SheetCell::Empty);
    EXPECT_EQ(grid.Cell(1, 3).text, "Rich");
}

TEST(XlsxXml, DamagedXmlIsRefused) {
    const struct {
        const char* what;
        const char* sheet;
        const char* says;
    } cases[] = {
        {"mismatched tags", "<worksheet><sheetData><row></sheetData></worksheet>",
         "not well-formed"},
        {"truncated", "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v>", "not well-formed"},
        {"unknown entity",
         "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&nbsp;</t></is></c></row>"
         "</sheetData></worksheet>",
         "not well-formed"},
        {"attribute without quotes", "<worksheet><sheetData><row r=1/></sheetData></worksheet>",
         "not well-formed"},
        {"document type", "<!DOCTYPE w [<!ENTITY a \"b\">]><worksheet/>", "document type"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path =
            WritePackage(dir, QString(c.what).replace(' ', '_') + ".xlsx", c.sheet);
        try {
            XlsxBook::Open(path)->ReadGrid(0);
            ADD_FAILURE() << "read";
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().contains(c.says)) << e.Description().toStdString();
            EXPECT_TRUE(e.Description().contains(path)) << e.Description().toStdString();
        }
    }
}

// Markup is held whole, so it has a bound: a tag of megabytes, or elements
// nested without end, are refused rather than allowed to take all memory.
TEST(XlsxXml, MarkupBeyondItsBoundsIsRefused) {
    const struct {
        const char* what;
        QJsonArray sheet;
        const char* says;
    } cases[] = {
        {"tag of 5 MiB",
         Pieces({{"<worksheet><sheetData><row r=\"1\" x=\"", 1},
                 {"a", 5 << 20},
                 {"\"/></sheetData></worksheet>", 1}}),
         "markup longer than 4 MiB"},
        {"comment of 5 MiB",
         Pieces({{"<worksheet><!--", 1}, {"a", 5 << 20}, {"--></worksheet>", 1}}),
         "markup longer than 4 MiB"},
        {"elements nested 300 deep",
         Pieces({{"<worksheet><sheetData>", 1},
                 {"<x>", 300},
                 {"</x>", 300},
                 {"</sheetData></worksheet>", 1}}),
         "nested more than 256 deep"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            XlsxBook::Open(WritePackage(dir, QString(c.what).replace(' ', '_') + ".xlsx", c.sheet))
                ->ReadGrid(0);
            ADD_FAILURE() << "read";
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().contains(c.says)) << e.Description().toStdString();
        }
    }
}

// A cell holds at most 32,767 characters, as in Excel: a longer text,
// shared, inline or a formula's result, reads as Excel's #VALUE!, so that
// Verify rejects its row instead of a cut text reaching a column; it still
// counts for the sheet's size. Text is read in pieces and a long one cut
// short as it is read, so one of 100 million characters takes no memory.
TEST(XlsxXml, TextsLongerThanACellHoldsReadAsErrors) {
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    const QString han = QString::fromUtf8("\xE4\xB8\xAD");         // three bytes in UTF-8
    QTemporaryDir dir;
    const QString path =
        WritePackage(dir, "long-texts.xlsx",
                     Pieces({{"<worksheet><sheetData><row r=\"1\">"
                              "<c r=\"A1\" t=\"s\"><v>0</v></c>"
                              "<c r=\"B1\" t=\"inlineStr\"><is><t>",
                              1},
                             {"b&amp;", 20'000'000},
                             {"</t></is></c><c r=\"C1\" t=\"str\"><v>", 1},
                             {"c", 40'000},
                             {"</v></c><c r=\"D1\" t=\"inlineStr\"><is><t>", 1},
                             {"d", 32'766},
                             {smiley + "</t></is></c><c r=\"E1\" t=\"inlineStr\"><is><t>", 1},
                             {"e", 32'767},
                             {"</t></is></c><c r=\"F1\" t=\"inlineStr\"><is><t>", 1},
                             {han, 40'000},
                             {"</t></is></c></row></sheetData></worksheet>", 1}}),
                     Pieces({{"<sst><si><t>", 1}, {"a", 40'000}, {"</t></si></sst>", 1}}));
    const CellGrid grid = XlsxBook::Open(path)->ReadGrid(0);
    EXPECT_EQ(grid.Columns(), 6);
    for (const int column : {0, 1, 2, 3, 5}) {
        EXPECT_EQ(grid.Cell(0, column).kind, SheetCell::Error) << column;
        EXPECT_EQ(grid.Cell(0, column).text, "#VALUE!") << column;
    }
    EXPECT_EQ(grid.Cell(0, 4).text, QString(32'767, 'e'));
}

// Two cells a million rows and sixteen columns apart make a table of the
// rows between them that holds two values, not a rectangle of empty ones.
TEST(XlsxXml, ASheetCostsItsCellsNotTheRectangleTheySpan) {
    QTemporaryDir dir;
    const QString path = WritePackage(
        dir, "corners.xlsx",
        "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Code</t></is>"
        "</c></row><row r=\"1048576\"><c r=\"Q1048576\"><v>2</v></c></row></sheetData>"
        "</worksheet>");
    const SheetTable table = XlsxBook::Open(path)->ReadSheet(0);
    EXPECT_EQ(table.rowCount, 1048575);
    ASSERT_EQ(table.columns.size(), 17);
    EXPECT_EQ(table.columns[16].Value(1048574), QVariant(2.0));
    EXPECT_TRUE(table.columns[0].Value(1048574).isNull());
    EXPECT_LT(table.Bytes(), 1024);
}

// Packages of a few hundred kilobytes that unpack to hundreds of megabytes
// of strings or cells are weighed against the memory left as they are read:
// under a limit of 1 GB of address space each is refused, saying what it
// needs, or read, never run into the limit.
TEST(XlsxXml, PackedBombsAreWeighedAgainstTheMemoryLeft) {
    const struct {
        const char* what;
        QJsonValue sheet;
        QJsonValue shared;
    } cases[] = {
        {"30 million shared strings",
         "<worksheet><sheetData><row><c t=\"s\"><v>0</v></c></row></sheetData></worksheet>",
         Pieces({{"<sst>", 1}, {"<si><t>a</t></si>", 30'000'000}, {"</sst>", 1}})},
        {"50 million cells",
         Pieces({{"<worksheet><sheetData>", 1},
                 {"<row>" + QString("<c><v>1</v></c>").repeated(50) + "</row>", 1'000'000},
                 {"</sheetData></worksheet>", 1}}),
         QJsonValue()},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ProbeRun run = RunProbe(
            XLSX_PROBE,
            WritePackage(dir, QString(c.what).replace(' ', '_') + ".xlsx", c.sheet, c.shared));
        ASSERT_TRUE(run.finished);
        EXPECT_FALSE(run.crashed) << run.errors.toStdString();
        if (run.status != 0) {
            EXPECT_TRUE(run.output.contains("too large for this machine (needs about"))
                << run.output.toStdString() << run.errors.toStdString();
        }
    }
}

}  // namespace
