#include <gtest/gtest.h>

#include "base/CellError.h"
#include "base/Field.h"
#include "workbook/CellGrid.h"
#include "workbook/DateText.h"
#include "workbook/NumberFormat.h"
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

// The text read from a serial, or none where expected is null.
void ExpectText(const std::optional<QString>& text, const char* expected, double serial) {
    if (expected)
        EXPECT_EQ(text.value_or("(none)"), expected) << serial;
    else
        EXPECT_FALSE(text.has_value()) << serial << " " << text->toStdString();
}

// Serial day numbers in date and time formats read as the whole value,
// whatever part of it the format shows: day 1 is 1900-01-01 and day 60 the
// phantom 1900-02-29 (day 0 is 1904-01-01), days before day 1 counted back
// from 1899-12-30, times rounded to the second, and numbers outside the
// driver's dates left numbers.
TEST(SheetRules, SerialDateText) {
    struct Case {
        double serial;
        bool date1904;
        const char* text;  // nullptr: no date
    };
    const Case cases[] = {
        {45322, false, "2024-01-31"},
        {45322.75, false, "2024-01-31 18:00:00"},
        {45323 + (13 * 3600 + 45 * 60 + 30) / 86400.0, false, "2024-02-01 13:45:30"},
        {44000.5, false, "2020-06-18 12:00:00"},
        {0.999999999, false, "1900-01-01"},
        {-1.5, false, "1899-12-29 12:00:00"},
        {0, false, "1899-12-30"},
        {0.5, false, "1899-12-30 12:00:00"},
        {1.5, false, "1900-01-01 12:00:00"},
        {0.25, true, "1904-01-01 06:00:00"},
        {1, false, "1900-01-01"},
        {59, false, "1900-02-28"},
        {60, false, "1900-02-29"},
        {60.5, false, "1900-02-29 12:00:00"},
        {61, false, "1900-03-01"},
        {73110, false, "2100-03-01"},
        {0, true, "1904-01-01"},
        {1, true, "1904-01-02"},
        {-1, true, "1903-12-31"},
        {2958465, false, "9999-12-31"},
        {2958466, false, nullptr},
        {-657434, false, "0100-01-01"},
        {-657435, false, nullptr},
        {1e300, false, nullptr},
        {qInf(), false, nullptr},
        {qQNaN(), false, nullptr},
    };
    for (const Case& c : cases) ExpectText(SerialDateText(c.serial, c.date1904), c.text, c.serial);
}

// Elapsed durations read as their total in the format's largest unit, then
// minutes and seconds, rounded to the second.
TEST(SheetRules, ElapsedText) {
    struct Case {
        double serial;
        DateKind kind;
        const char* text;  // nullptr: no duration
    };
    constexpr auto H = DateKind::ElapsedHours, M = DateKind::ElapsedMinutes,
                   S = DateKind::ElapsedSeconds;
    const Case cases[] = {
        {1.5, H, "36:00:00"},
        {1.5, M, "2160:00"},
        {1.5, S, "129600"},
        {0, H, "0:00:00"},
        {(3600 + 2 * 60 + 3.4) / 86400.0, H, "1:02:03"},
        {59.9996 / 86400.0, M, "1:00"},
        {-1.5, H, "-36:00:00"},
        {-0.1 / 86400.0, H, "0:00:00"},
        {45322.75, H, "1087746:00:00"},
        {1e7, H, nullptr},
        {qQNaN(), H, nullptr},
    };
    for (const Case& c : cases) ExpectText(ElapsedText(c.serial, c.kind), c.text, c.serial);
}

// Number format codes by their own date and time codes: text, padding, fill
// and bracketed sections are no codes, except an elapsed unit.
TEST(SheetRules, FormatDateKind) {
    constexpr auto N = DateKind::None, D = DateKind::Date, H = DateKind::ElapsedHours,
                   M = DateKind::ElapsedMinutes, S = DateKind::ElapsedSeconds;
    const QPair<const char*, DateKind> cases[] = {
        // Dates and times, in one part or several.
        {"yyyy-mm-dd", D},
        {"d-mmm", D},
        {"mmm-yy", D},
        {"yyyy-mm-dd hh:mm:ss", D},
        {"hh:mm", D},
        {"h:mm", D},
        {"[$-F400]h:mm:ss\\ AM/PM", D},
        {"mm:ss", D},
        {"mmm", D},
        {"yyyy", D},
        {"mmmm", D},
        {"dddd", D},
        {"d", D},
        {"ss", D},
        {"h", D},
        {"[Red]dd/mm/yyyy", D},
        {"[$-411]ge.m.d", D},
        {"\"Date:\" yyyy-mm-dd", D},
        // Elapsed durations, by their largest unit.
        {"[h]:mm:ss", H},
        {"[hh]:mm", H},
        {"[h]", H},
        {"[mm]:ss", M},
        {"[m]", M},
        {"[ss]", S},
        {"[s].00", S},
        // Numbers, their letters quoted, escaped, bracketed or no codes.
        {"0 \"mAh\"", N},
        {"0 \"MHz\"", N},
        {"0 \"mmHg\"", N},
        {"0.0 \"mg/dl\"", N},
        {"#,##0.00 [$MDL]", N},
        {"#,##0 \"dm\"", N},
        {"0\\h", N},
        {"_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)", N},
        {"#,##0_m;*s0", N},
        {"[>100]0;[Color10]0", N},
        {"[$-F400]0", N},
        {"0.00", N},
        {"#,##0;[Red]-#,##0", N},
        {"General", N},
        {"general;-General", N},
        {"@", N},
        {"0.00E+00", N},
        {"##0.0e-0", N},
        {"e", N},  // an era's year alone: a number it stays
        {"\"Batch\" 0", N},
        {"\"Date:\" 0", N},
        {"", N},
    };
    for (const auto& [format, kind] : cases)
        EXPECT_EQ(int(FormatDateKind(QString::fromUtf8(format))), int(kind)) << format;
}

// The built-in formats the file formats number alike in .xls and .xlsx.
TEST(SheetRules, BuiltInFormatKind) {
    const QPair<int, DateKind> cases[] = {
        {0, DateKind::None},   {2, DateKind::None},  {11, DateKind::None},
        {14, DateKind::Date},  {18, DateKind::Date}, {22, DateKind::Date},
        {27, DateKind::Date},  {45, DateKind::Date}, {46, DateKind::ElapsedHours},
        {47, DateKind::Date},  {49, DateKind::None}, {58, DateKind::Date},
        {164, DateKind::None},
    };
    for (const auto& [id, kind] : cases) EXPECT_EQ(int(BuiltInFormatKind(id)), int(kind)) << id;
}

}  // namespace
