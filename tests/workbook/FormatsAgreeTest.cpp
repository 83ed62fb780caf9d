// The same sheet saved as .xls (xlwt) and as .xlsx (XlsxWriter) reads as
// the same text, cell for cell: an operator who saves a workbook in the
// other format gets the same import.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestWorkbooks.h"
#include "workbook/SheetDump.h"

namespace {

TEST(FormatsAgree, SameSheetDumpsTheSameFromXlsAndXlsx) {
    const QJsonArray rows{
        QJsonArray{"Code", "Name", "Sold", "Price", QJsonValue::Null, "Qty"},
        QJsonArray{"A1", QString::fromUtf8("Käse & <Brot>"), QJsonObject{{"date", "2024-02-29"}},
                   12.5, QJsonValue::Null, 3},
        QJsonArray{"B2", "two\nlines", QJsonValue::Null, -0.125, "x", 1e20},
        QJsonArray{},
        QJsonArray{"C3", QJsonValue::Null, QJsonObject{{"date", "1999-12-31"}}, 4000000000001.0,
                   QJsonValue::Null, 0},
    };
    const QJsonArray sheets{QJsonArray{"Items", rows}};
    QTemporaryDir dir;
    const QString xls = dir.filePath("items.xls"), xlsx = dir.filePath("items.xlsx");
    RunWriter("write_xls.py", {{"path", xls}, {"sheets", sheets}});
    RunWriter("write_xlsx.py", {{"path", xlsx}, {"sheets", sheets}});

    const QString expected =
        "Code\tName\tSold\tPrice\tF5\tQty\n"
        "A1\tK\u00e4se & <Brot>\t2024-02-29\t12.5\t\t3\n"
        "B2\ttwo\\nlines\t\t-0.125\tx\t1e+20\n"
        "\t\t\t\t\t\n"
        "C3\t\t1999-12-31\t4000000000001\t\t0\n";
    EXPECT_EQ(DumpSheet(xls, "Items", WriteSheetDump).toStdString(), expected.toStdString());
    EXPECT_EQ(DumpSheet(xlsx, "Items", WriteSheetDump).toStdString(), expected.toStdString());
    EXPECT_EQ(DumpSheet(xls, "Items", WriteSheetColumns).toStdString(),
              DumpSheet(xlsx, "Items", WriteSheetColumns).toStdString());
}

}  // namespace
