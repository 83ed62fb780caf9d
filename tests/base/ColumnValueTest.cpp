// What a target column takes from a sheet cell: every cell a column would
// refuse or alter is refused, and what is taken is the value stored.
#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>

#include "base/CellError.h"
#include "base/ColumnValue.h"

namespace {

Field Column(int type, ColumnLimits limits = {}) { return {"C", type, limits}; }

const Field kInt = Column(TypeCode::Integer);
const Field kTiny = Column(TypeCode::UnsignedTinyInt);
const Field kSmall = Column(TypeCode::SmallInt);
const Field kBig = Column(TypeCode::BigInt);
const Field kBit = Column(TypeCode::Boolean);
const Field kPrice = Column(TypeCode::Numeric, {18, 4});
const Field kAnyNumeric = Column(TypeCode::Numeric);  // SQLite's bare NUMERIC
const Field kMoney = Column(TypeCode::Currency, {19, 4});
const Field kSmallMoney = Column(TypeCode::Currency, {10, 4});
const Field kFloat = Column(TypeCode::Double);
const Field kReal = Column(TypeCode::Single);
const Field kDate = Column(TypeCode::Date);
const Field kDateNotNull = Column(TypeCode::Date, {0, 0, {}, {}, false});
const Field kDateTime = Column(TypeCode::Date, {0, 0, QDate(1753, 1, 1), QDate(9999, 12, 31)});
const Field kSmallDate = Column(TypeCode::Date, {0, 0, QDate(1900, 1, 1), QDate(2079, 6, 6)});
const Field kTime = Column(TypeCode::DBTime);
const Field kText = Column(TypeCode::VarWChar);

QDateTime At(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
}

TEST(ToColumnTest, StoresWhatTheColumnHoldsExactlyAndRefusesTheRest) {
    struct Case {
        const char* what;
        const Field& column;
        QVariant cell;
        QVariant stored;  // invalid: refused
    };
    const QVariant refused;
    const QVariant storedNull = QVariant::fromValue(nullptr);
    const Case cases[] = {
        // Any column: an error cell, a number that is not finite.
        {"error cell in text", kText, ErrorValue("#N/A"), refused},
        {"error cell in number", kPrice, ErrorValue("#DIV/0!"), refused},
        {"NaN in text", kText, std::nan(""), refused},
        {"infinity in number", kFloat, qInf(), refused},
        // Texts in number columns: a number alone, or nothing.
        {"blanks around", kInt, " 7 ", 7LL},
        {"sign and point", kPrice, "-2.5", -2.5},
        {"exponent", kInt, "1e3", 1000LL},
        {"letters", kPrice, "abc", refused},
        {"currency sign", kPrice, "$3.50", refused},
        {"thousands separator", kPrice, "1,234.5", refused},
        {"trailing letters", kInt, "12abc", refused},
        {"infinity as text", kFloat, "inf", refused},
        {"a date as text", kPrice, "2024-01-31", refused},
        {"more digits than kept", kPrice, "12345678901234.5678", refused},
        {"fifteen digits", kPrice, "1234567890.12345", 1234567890.1235},
        {"zeros are no digits", kPrice, "00012.50000000000000000", 12.5},
        {"empty cell", kInt, QVariant(), 0LL},
        {"blank text", kPrice, "  ", 0.0},
        // Whole numbers: no fraction, within the width.
        {"fraction", kInt, 2.5, refused},
        {"int range", kInt, 3e9, refused},
        {"int top", kInt, 2147483647.0, 2147483647LL},
        {"int bottom", kInt, -2147483648.0, -2147483648LL},
        {"tinyint top", kTiny, 255.0, 255LL},
        {"tinyint over", kTiny, 256.0, refused},
        {"tinyint negative", kTiny, -1.0, refused},
        {"smallint over", kSmall, 32768.0, refused},
        {"64 bits over", kBig, 1e19, refused},
        {"64 bits edge", kBig, 9223372036854775808.0, refused},
        {"64 bits", kBig, 9e18, qlonglong(9e18)},
        // Bits: 0, 1, TRUE, FALSE.
        {"bit 1", kBit, 1.0, true},
        {"bit TRUE", kBit, " TRUE ", true},
        {"bit false", kBit, "false", false},
        {"bit empty", kBit, QVariant(), false},
        {"bit 2", kBit, 2.0, refused},
        {"bit -1", kBit, "-1", refused},
        {"bit yes", kBit, "yes", refused},
        // Exact numbers: rounded half away from zero to the scale; the whole
        // digits must fit.
        {"more decimals", kPrice, 2.12345, 2.1235},
        {"more decimals below", kPrice, 2.123449, 2.1234},
        {"negative half", kPrice, -0.00005, -0.0001},
        {"carry", kPrice, 9.99995, 10.0},
        {"scale kept", kPrice, 1234.5, 1234.5},
        {"whole digits full", kPrice, 99999999999999.0, 99999999999999.0},
        {"whole digits over", kPrice, 100000000000000.0, refused},
        {"rounds over", kPrice, 99999999999999.99996, refused},
        {"huge", kPrice, 1e300, refused},
        {"no limit", kAnyNumeric, 1e300, 1e300},
        {"money", kMoney, 922337203685477.0, 922337203685477.0},
        {"money over", kMoney, 1e15, refused},
        {"money decimals", kMoney, 1.23456, 1.2346},
        {"smallmoney over", kSmallMoney, 300000.0, refused},
        {"smallmoney", kSmallMoney, -214748.3647, -214748.3647},
        {"float", kFloat, 1e300, 1e300},
        {"real over", kReal, 1e39, refused},
        // Dates: days a sheet can name, within the column's range.
        {"date text", kDate, "2024-01-31", At(2024, 1, 31)},
        {"date and time text", kDate, "2024-01-31 13:45:30", At(2024, 1, 31, 13, 45, 30)},
        {"not a date", kDate, "31.01.2024x", refused},
        {"phantom day", kDate, "1900-02-29", refused},
        {"serial", kDate, 45322.5, At(2024, 1, 31, 12)},
        {"serial day 1", kDate, 1.0, At(1900, 1, 1)},
        {"serial day 59", kDate, 59.0, At(1900, 2, 28)},
        {"serial day 60", kDate, 60.0, refused},
        {"serial day 61", kDate, 61.0, At(1900, 3, 1)},
        {"serial 0", kDate, 0.0, refused},
        {"negative serial", kDate, -5.0, refused},
        {"serial past 9999", kDate, 2958466.0, refused},
        {"serial 9999-12-31", kDate, 2958465.0, At(9999, 12, 31)},
        {"day 0 as shown", kDate, "1899-12-30", refused},
        {"time alone in a date", kDate, "08:30:00", refused},
        {"time alone in a time", kTime, "08:30:00", At(1899, 12, 30, 8, 30)},
        {"fraction in a time", kTime, 0.25, At(1899, 12, 30, 6)},
        {"empty date", kDate, QVariant(), storedNull},
        {"empty date, not null", kDateNotNull, "", refused},
        {"before datetime", kDateTime, "1752-12-31", refused},
        {"datetime last", kDateTime, "9999-12-31 23:59:59", At(9999, 12, 31, 23, 59, 59)},
        {"after smalldatetime", kSmallDate, "2079-06-07", refused},
        {"smalldatetime last", kSmallDate, "2079-06-06 23:59:00", At(2079, 6, 6, 23, 59)},
        // Texts: anything but NUL; a number as its text.
        {"number in text", kText, 0.1 + 0.2, "0.3"},
        {"tab in text", kText, "A\tB", "A\tB"},
        {"NUL in text", kText, QString("A1") + QChar(0) + "X", refused},
        {"empty text", kText, QVariant(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ColumnValue v = ToColumn(c.column, c.cell);
        if (!c.stored.isValid()) {
            EXPECT_FALSE(v.problem.isEmpty()) << "stored " << v.value.toString().toStdString();
            continue;
        }
        EXPECT_TRUE(v.problem.isEmpty()) << v.problem.toStdString();
        if (c.stored.isNull()) {
            EXPECT_TRUE(v.value.isNull());
            continue;
        }
        EXPECT_EQ(v.value.typeId(), c.stored.typeId());
        EXPECT_EQ(v.value, c.stored) << v.value.toString().toStdString();
    }
}

TEST(ToColumnTest, SaysWhatIsWrongWithTheCell) {
    EXPECT_EQ(ToColumn(kPrice, "abc").problem, "is not a number");
    EXPECT_EQ(ToColumn(kInt, 3e9).problem,
              "is outside the column's range, -2147483648 to 2147483647");
    EXPECT_EQ(ToColumn(kPrice, 1e15).problem, "has more than 14 digits before the decimal point");
    EXPECT_EQ(ToColumn(kText, ErrorValue("#DIV/0!")).problem, "is an error value (#DIV/0!)");
    EXPECT_EQ(ToColumn(kSmallDate, "2080-01-01").problem,
              "is outside the column's range, 1900-01-01 to 2079-06-06");
}

}  // namespace
