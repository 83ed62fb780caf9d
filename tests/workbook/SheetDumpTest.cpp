#include <gtest/gtest.h>

#include "TestWorkbooks.h"
#include "workbook/SheetConnection.h"
#include "workbook/SheetDump.h"

namespace {

QString Dump(const char* file, const char* sheet,
             void (*write)(Connection&, const QString&, QTextStream&)) {
    return DumpSheet(TestWorkbook(file), sheet, write);
}

TEST(SheetDump, SheetAsTheProgramReadsIt) {
    EXPECT_EQ(Dump("rules.xls", "Items", WriteSheetDump),
              "Code\tF2\tPrice\tCode1\tMixed\tWhen\t2024\tcode2\n"
              "A1\t1\t12.5\tx\t12.5\t2024-01-31\tt\tu\n"
              "1001\t2\t0.3\ty\ttext\t2024-02-01 13:45:30\t\t\n"
              "\t\t\t\t\t\t\t\n"
              "C3\t3\t1e+20\t\t2024-03-01\t\t\t\n"
              "D4\t4\t1.23456789012346e+17\t\t\t1999-12-31\t\t\n");
    EXPECT_EQ(Dump("rules.xls", "Escapes", WriteSheetDump),
              "Text\\tHeader\na\\tb\nline1\\nline2\nback\\\\slash\ncr\\rx\nnul\\0byte\n");
    EXPECT_EQ(Dump("rules.xls", "HeaderOnly", WriteSheetDump), "A\tB\n");
}

TEST(SheetDump, ColumnsWithTypeCodes) {
    EXPECT_EQ(
        Dump("rules.xls", "Items", WriteSheetColumns),
        "Code\t202\nF2\t5\nPrice\t5\nCode1\t202\nMixed\t202\nWhen\t7\n2024\t202\ncode2\t202\n");
}

}  // namespace
