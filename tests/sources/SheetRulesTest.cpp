#include <gtest/gtest.h>

#include "DateText.h"
#include "Field.h"
#include "SheetTable.h"

namespace {

SheetCell Text(const char* t) { return {SheetCell::Text, 0, t}; }
SheetCell Number(double n) { return {SheetCell::Number, n, {}}; }
const SheetCell kEmpty;

TEST(SheetRules, HeaderNames) {
    struct Case {
        QVector<SheetCell> header;
        QStringList names;
    };
    const Case cases[] = {
        {{Text("Code"), kEmpty, Text("Name")}, {"Code", "F2", "Name"}},
        {{Text("Code"), Text("Code"), Text("Code")}, {"Code", "Code1", "Code2"}},
        // The suffix skips names the sheet already has, in any letter case.
        {{Text("Code"), Text("CODE"), Text("code1")}, {"Code", "CODE2", "code1"}},
        {{Text("F2"), kEmpty}, {"F2", "F21"}},
        {{Text("ÉTÉ"), Text("été")}, {"ÉTÉ", "été1"}},
        {{Number(2024), Number(12.5)}, {"2024", "12.5"}},
        {{SheetCell{SheetCell::Date, 0, "2024-01-31"}}, {"2024-01-31"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeaderNames(c.header), c.names) << c.names.join(",").toStdString();
}

TEST(SheetRules, ColumnTypeFromAllValues) {
    struct Case {
        int numbers, dates, others, type;
    };
    const Case cases[] = {
        {3, 0, 0, TypeCode::Double},   {0, 2, 0, TypeCode::Date},     {3, 1, 0, TypeCode::VarWChar},
        {3, 0, 1, TypeCode::VarWChar}, {0, 0, 0, TypeCode::VarWChar},  // no value at all
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnType(c.numbers, c.dates, c.others), c.type)
            << c.numbers << " " << c.dates << " " << c.others;
}

TEST(SheetRules, ValuesByColumnType) {
    EXPECT_EQ(ColumnValue(Number(1001), TypeCode::Double), QVariant(1001.0));
    EXPECT_EQ(ColumnValue(Number(1001), TypeCode::VarWChar), QVariant("1001"));
    EXPECT_EQ(ColumnValue(Number(0.1 + 0.2), TypeCode::VarWChar), QVariant("0.3"));
    EXPECT_EQ(ColumnValue(Number(-12.5), TypeCode::VarWChar), QVariant("-12.5"));
    EXPECT_TRUE(ColumnValue(kEmpty, TypeCode::Double).isNull());
}

// FreeXL's date texts to the workbook driver's: dates before March 1900 one
// day earlier (no phantom 1900-02-29), no time of 00:00:00, a bare time on day 0.
TEST(SheetRules, DateCellText) {
    struct Case {
        const char* freexl;
        bool date1904;
        const char* text;  // nullptr: no date
    };
    const Case cases[] = {
        {"2024-01-31", false, "2024-01-31"},
        {"2024-02-01 13:45:30", false, "2024-02-01 13:45:30"},
        {"2024-02-01 00:00:00", false, "2024-02-01"},
        {"1900-03-01", false, "1900-03-01"},
        {"1900-02-29", false, "1900-02-28"},
        {"1900-02-28", false, "1900-02-27"},
        {"1900-01-01", false, "1899-12-31"},
        {"1900-01-01", true, "1900-01-01"},
        {"08:30:00", false, "1899-12-30 08:30:00"},
        {"08:30:00", true, "1904-01-01 08:30:00"},
        {"00:00:00", false, "1899-12-30"},
        {"2024-13-01", false, nullptr},
        {"25:00:00", false, nullptr},
        {"garbage", false, nullptr},
        {"", false, nullptr},
    };
    for (const Case& c : cases) {
        const auto text = DateCellText(c.freexl, c.date1904);
        if (c.text)
            EXPECT_EQ(text.value_or("(none)"), c.text) << c.freexl;
        else
            EXPECT_FALSE(text.has_value()) << c.freexl;
    }
}

}  // namespace
