// Worksheet and shared-string XML as the reader takes it, in packages
// written by hand: what XML allows and writers seldom produce (prefixed
// names, either quote, attributes in any order, references, CDATA,
// comments) reads as Excel shows it, and damaged XML is refused with a
// message that names the file and says why.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "workbook/XlsxBook.h"

namespace {

QString WritePackage(const QTemporaryDir& dir, const QString& name, const QString& sheet,
                     const QString& sharedStrings = {}) {
    const QString path = dir.filePath(name);
    QJsonObject description{{"path", path}, {"sheet", sheet}};
    if (!sharedStrings.isEmpty()) description["sharedStrings"] = sharedStrings;
    RunWriter("write_package.py", description);
    return path;
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

}  // namespace
