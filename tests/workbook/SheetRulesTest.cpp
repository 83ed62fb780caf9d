#include <gtest/gtest.h>

#include "base/CellError.h"
#include "base/Field.h"
#include "workbook/BiffGlobals.h"
#include "workbook/CellGrid.h"
#include "workbook/DateText.h"
#include "workbook/SheetTable.h"

namespace {

SheetCell Text(const char* t) { return {SheetCell::Text, 0, t}; }
SheetCell Number(double n) { return {SheetCell::Number, n, {}}; }
const SheetCell kEmpty;
const SheetCell kTrue = BooleanCell(true);
const SheetCell kFalse = BooleanCell(false);
const SheetCell kError = ErrorCell("#N/A");

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
        // A boolean names its column as its number, an error as an empty cell does.
        {{kTrue, kFalse, kError}, {"1", "0", "F3"}},
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
    EXPECT_EQ(ColumnValue(kTrue, TypeCode::Double), QVariant(1.0));
    EXPECT_EQ(ColumnValue(kFalse, TypeCode::VarWChar), QVariant("0"));
    EXPECT_EQ(ColumnValue(kError, TypeCode::VarWChar), ErrorValue("#N/A"));
}

// A boolean counts as its number in the column's type; an error counts as no
// value for the column's type, and a last row of errors is no record, nor
// widens the sheet beyond what the reader says, but within the records an
// error cell stays an error, not an empty cell.
TEST(SheetRules, BooleansCountAsNumbersErrorsAsEmpty) {
    CellGrid grid;
    grid.Add(0, 0, Text("Flag"));
    grid.Add(0, 1, Text("Count"));
    grid.Add(1, 0, kTrue);
    grid.Add(1, 1, kError);
    grid.Add(2, 0, kFalse);
    grid.Add(2, 1, Number(2));
    grid.Add(3, 0, kError);
    grid.Add(1, 2, kError);
    grid.Finish();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Columns(), 2);
    EXPECT_EQ(grid.Cell(1, 2).text, "#N/A");

    const SheetTable table = grid.Table();
    EXPECT_EQ(table.rowCount, 2);
    ASSERT_EQ(table.columns.size(), 2);
    EXPECT_EQ(table.columns[0].type, TypeCode::Double);
    EXPECT_EQ(table.columns[0].Values(), (QVector<QVariant>{1.0, 0.0}));
    EXPECT_EQ(table.columns[1].type, TypeCode::Double);
    EXPECT_EQ(table.columns[1].Values(), (QVector<QVariant>{ErrorValue("#N/A"), 2.0}));
}

// Serial day numbers in date formats read as the days the spreadsheet shows:
// day 1 is 1900-01-01 and day 60 the phantom 1900-02-29 (day 0 is 1904-01-01),
// days before day 1 counted back from 1899-12-30, times rounded to the
// second, a date format without the time, a time format without the day,
// and numbers outside the driver's dates left numbers.
TEST(SheetRules, SerialDateText) {
    struct Case {
        double serial;
        DateKind kind;
        bool date1904;
        const char* text;  // nullptr: no date
    };
    constexpr auto D = DateKind::Date, DT = DateKind::DateTime, T = DateKind::Time;
    const Case cases[] = {
        {45322, D, false, "2024-01-31"},
        {45322.75, D, false, "2024-01-31"},
        {45323 + (13 * 3600 + 45 * 60 + 30) / 86400.0, DT, false, "2024-02-01 13:45:30"},
        {45323, DT, false, "2024-02-01"},
        {0.999999999, DT, false, "1900-01-01"},
        {-1.5, DT, false, "1899-12-29 12:00:00"},
        {0, D, false, "1899-12-30"},
        {0.5, DT, false, "1899-12-30 12:00:00"},
        {0.5, T, false, "1899-12-30 12:00:00"},
        {1.5, T, false, "1899-12-30 12:00:00"},
        {0.25, T, true, "1904-01-01 06:00:00"},
        {1, D, false, "1900-01-01"},
        {59, D, false, "1900-02-28"},
        {60, D, false, "1900-02-29"},
        {60.5, DT, false, "1900-02-29 12:00:00"},
        {61, D, false, "1900-03-01"},
        {73110, D, false, "2100-03-01"},
        {0, D, true, "1904-01-01"},
        {1, D, true, "1904-01-02"},
        {-1, D, true, "1903-12-31"},
        {2958465, D, false, "9999-12-31"},
        {2958466, D, false, nullptr},
        {-657434, D, false, "0100-01-01"},
        {-657435, D, false, nullptr},
        {1e300, DT, false, nullptr},
        {qInf(), D, false, nullptr},
        {qQNaN(), D, false, nullptr},
        {45322, DateKind::None, false, nullptr},
    };
    for (const Case& c : cases) {
        const auto text = SerialDateText(c.serial, c.kind, c.date1904);
        if (c.text)
            EXPECT_EQ(text.value_or("(none)"), c.text) << c.serial;
        else
            EXPECT_FALSE(text.has_value()) << c.serial << " " << text->toStdString();
    }
}

// Number formats by their letters: which show dates, date and time, or times.
TEST(SheetRules, FormatDateKind) {
    const QPair<const char*, DateKind> cases[] = {
        {"yyyy-mm-dd", DateKind::Date}, {"d-mmm", DateKind::Date},
        {"mmm-yy", DateKind::Date},     {"yyyy-mm-dd hh:mm:ss", DateKind::DateTime},
        {"hh:mm", DateKind::Time},      {"[$-F400]h:mm:ss\\ AM/PM", DateKind::Time},
        {"mm:ss", DateKind::Time},      {"mmm", DateKind::None},
        {"0.00", DateKind::None},       {"#,##0;[Red]-#,##0", DateKind::None},
        {"General", DateKind::None},
    };
    for (const auto& [format, kind] : cases) EXPECT_EQ(FormatDateKind(format), kind) << format;
}

}  // namespace
