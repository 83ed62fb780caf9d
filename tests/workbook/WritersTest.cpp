// Workbooks saved by other programs (tests/workbook/writers), and the same
// files with their texts marked or written in other encodings, read as their
// writers meant them: numbers with units and currencies as numbers, a
// year, a time of day on a date and a duration as what they hold.
#include <gtest/gtest.h>

#include "TestWorkbooks.h"
#include "base/Field.h"
#include "workbook/SheetConnection.h"
#include "workbook/SheetDump.h"

namespace {

QString Writer(const char* name) {
    return QString(XLSLOAD_SOURCE_DIR "/tests/workbook/writers/") + name;
}

// Each file holds one sheet "Relevés": Capacity in `0 "mAh"`, Price in
// `#,##0.00 [$MDL]`, Year in `yyyy`, Time in `h:mm`, Duration in `[h]:mm:ss`.
const QString kSheet = QString::fromUtf8("Relevés");
const char* const kDump =
    "Name\tCapacity\tPrice\tYear\tTime\tDuration\n"
    "Thé\t3000\t1234.5\t2024-01-01\t2020-06-18 12:00:00\t36:00:00\n"
    "Café\t4500\t0.25\t2024-01-31 18:00:00\t1899-12-30 06:00:00\t-12:00:00\n"
    "Crème brûlée\t5\t1000000\t2000-01-01\t2024-01-31\t1:30:00\n";

TEST(Writers, SheetsReadAsTheirWritersMeantThem) {
    const QString columns = QString(
                                "Name\t%1\nCapacity\t%2\nPrice\t%2\nYear\t%3\nTime\t%3\n"
                                "Duration\t%1\n")
                                .arg(TypeCode::VarWChar)
                                .arg(TypeCode::Double)
                                .arg(TypeCode::Date);
    const QString files[] = {
        Writer("libreoffice.xlsx"),
        Writer("libreoffice.xls"),
        Writer("gnumeric.xlsx"),
        // Its own formats numbered 50 to 52, as built-in East Asian dates are.
        Writer("gnumeric.xls"),
        Writer("gnumeric-biff5.xls"),
        // 8-bit texts under a CODEPAGE record saying UTF-16, of odd and even length.
        TestWorkbook("codepage-1200-biff5.xls"),
        // Every XML part in UTF-16 or with a UTF-8 byte order mark.
        TestWorkbook("xlsx-utf16le.xlsx"),
        TestWorkbook("xlsx-utf16be.xlsx"),
        TestWorkbook("xlsx-utf8bom.xlsx"),
    };
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(SheetConnection::OpenWorkbook(file)->SheetNames(), QStringList{kSheet});
        EXPECT_EQ(DumpSheet(file, kSheet, WriteSheetDump).toStdString(), kDump);
        EXPECT_EQ(DumpSheet(file, kSheet, WriteSheetColumns), columns);
    }
}

}  // namespace
