// How sheet texts become numbers and dates: the rules every row goes
// through, including the shapes that must be refused.
#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>

#include "base/AppError.h"
#include "base/Recordset.h"
#include "base/TextUtil.h"
#include "base/ValueText.h"

namespace {

TEST(ValTest, ReadsTheNumberAtTheFrontOfAText) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"", 0},         {"12.5kg", 12.5}, {"1 2 3", 123},    {" -1,5", -1},
                 {"1.", 1},       {".5", 0.5},      {"-.5e-3", -5e-4}, {"1d3", 1000},
                 {"1D+3", 1000},  {"1e", 1},        {"1e+", 1},        {"1.e2", 100},
                 {"abc", 0},      {"0x10", 0},      {"1.2.3", 1.2},    {"4\xc3\xa9", 4},
                 {"\xd9\xa1", 0}, {"+7", 7}};
    for (const auto& c : cases) EXPECT_EQ(Val(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_TRUE(std::isinf(Val("1e400")));
}

TEST(NumberShownTest, ANumberCellWritesTheNumberItsTextShows) {
    const struct {
        double cell;
        double written;
    } cases[] = {{2.25, 2.25},
                 {0.1 + 0.2, 0.3},
                 {1e20, 1e20},
                 {123456.7, 123456.7},
                 {1.0 / 3, 0.333333333333333},
                 {-5e-7, -5e-7}};
    for (const auto& c : cases) EXPECT_EQ(NumberShown(c.cell), c.written) << c.cell;
    EXPECT_FALSE(std::signbit(NumberShown(-0.0)));
}

// A number's text is its shortest exact digits, up to 15 of them; prices
// and amounts of whole hundredths take a shorter way to the same text.
TEST(NumberTextTest, WritesTheShortestDigitsUpToFifteen) {
    const struct {
        double number;
        const char* text;
    } cases[] = {{12.05, "12.05"},
                 {-0.5, "-0.5"},
                 {0.07, "0.07"},
                 {1.1 * 1.1, "1.21"},
                 {9999999999999.99, "9999999999999.99"},
                 {0.1 + 0.2, "0.3"},
                 {1.005, "1.005"},
                 {-0.0, "0"},
                 {1e20, "1e+20"},
                 {1.0 / 3, "0.333333333333333"}};
    for (const auto& c : cases) EXPECT_EQ(NumberText(c.number), c.text) << c.number;
}

TEST(ConvertValueTest, DatesAreReadInTheirShapesAndAnythingElseIsRefused) {
    const Field when{"WHEN", TypeCode::DBTimeStamp};
    const auto utc = [](int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
        return QVariant(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC));
    };
    const struct {
        const char* text;
        QVariant value;
    } read[] = {{"2024-01-31", utc(2024, 1, 31)},
                {" 2024-02-29 13:45:30 ", utc(2024, 2, 29, 13, 45, 30)},
                {"2024-02-01T08:00:00", utc(2024, 2, 1, 8)},
                {"12/31/1999", utc(1999, 12, 31)},
                {"13:45:30", utc(1899, 12, 30, 13, 45, 30)},
                {"", QVariant()}};
    for (const auto& c : read) EXPECT_EQ(ConvertValue(when, QString(c.text)), c.value) << c.text;
    for (const char* text : {"23x4-11-07", "2023-02-29", "2024-13-01", "0000-01-01",
                             "2024-01-31 24:00:00", "2024-01-31 12:60:00", "2024-1-31", "soon"})
        EXPECT_THROW(ConvertValue(when, QString(text)), AppError) << text;
}

// Rows kept elsewhere are read where they are, value by value; setting a
// value copies them in first, so the others keep theirs and the source its.
TEST(RecordsetTest, RowsReadInPlaceAreCopiedOnlyWhenOneChanges) {
    struct Squares : RowSource {
        int RowCount() const override { return 3; }
        QVariant At(int row, int field) const override { return double(row * row + field); }
    };
    const auto source = std::make_shared<Squares>();
    Recordset records({{"N", TypeCode::Double}, {"M", TypeCode::Double}}, source);
    EXPECT_EQ(records.RecordCount(), 3);
    records.MoveTo(3);
    EXPECT_EQ(records.Value("M"), QVariant(5.0));
    records.SetValue(0, 7);
    EXPECT_EQ(records.Value(0), QVariant(7.0));
    EXPECT_EQ(records.ValueAt(2, 0), QVariant(1.0));
    EXPECT_EQ(source->At(2, 0), QVariant(4.0));
    records.MoveNext();
    EXPECT_TRUE(records.Eof());
}

}  // namespace
