// Verify rejects every cell its target column would refuse or alter, as
// "Not A Valid Value", and a Start after it writes the others exactly as the
// sheet has them: from .xls and .xlsx alike, on SQLite and PostgreSQL.
#include <QDate>

#include "FormFixture.h"
#include "validation/VerifyPass.h"

namespace {

using ValueTest = FormFixture;

enum Column { kCode, kLimit, kTerm, kSince };

// One sheet row: a customer with a cell of each kind. A good row reads back
// as the texts stored; a rejected one names its verdict and column.
struct Case {
    const char* what;
    QVariantList cells;  // code, credit limit, credit term, date created
    const ErrorKind* verdict = nullptr;
    Column column = kCode;
    QStringList stored = {};  // limit, term, date as read back
    bool only64Bits = false;  // rejected where integers have 32 bits
};

QVariant Serial(double number) {
    return QVariant::fromValue(FormattedNumber{number, "yyyy-mm-dd"});
}

const QDate kDay(2024, 1, 31);

const Case kCases[] = {
    {"plain values", {"G1", 1234.5, 30, kDay}, nullptr, kCode, {"1234.5", "30", "2024-01-31"}},
    {"numbers as texts",
     {"G2", " 7 ", "1e3", "2024-01-31"},
     nullptr,
     kCode,
     {"7", "1000", "2024-01-31"}},
    {"more decimals than the scale",
     {"G3", 2.12345, -0.0, QVariant()},
     nullptr,
     kCode,
     {"2.1235", "0", ""}},
    {"empty cells", {"G4", QVariant(), QVariant(), QVariant()}, nullptr, kCode, {"0", "0", ""}},
    {"day 1 and day 61", {"G5", 1, 1, Serial(61)}, nullptr, kCode, {"1", "1", "1900-03-01"}},
    {"a whole number beyond 32 bits",
     {"B1", 0, 3e9, kDay},
     &kInvalidValue,
     kTerm,
     {"0", "3000000000", "2024-01-31"},
     true},
    {"letters for a number", {"B2", "abc", 0, kDay}, &kInvalidValue, kLimit},
    {"a currency sign", {"B3", "$3.50", 0, kDay}, &kInvalidValue, kLimit},
    {"a thousands separator", {"B4", "1,234.5", 0, kDay}, &kInvalidValue, kLimit},
    {"letters after a number", {"B5", 0, "12abc", kDay}, &kInvalidValue, kTerm},
    {"an error cell", {"B6", ErrorValue("#DIV/0!"), 0, kDay}, &kInvalidValue, kLimit},
    {"too many whole digits", {"B7", 1e300, 0, kDay}, &kInvalidValue, kLimit},
    {"a fraction for a whole number", {"B8", 0, 2.5, kDay}, &kInvalidValue, kTerm},
    {"beyond 64 bits", {"B9", 0, 1e19, kDay}, &kInvalidValue, kTerm},
    {"no date", {"C1", 0, 0, "not a date"}, &kInvalidValue, kSince},
    {"serial 0 in a date format", {"C2", 0, 0, Serial(0)}, &kInvalidValue, kSince},
    {"a negative serial", {"C3", 0, 0, Serial(-5)}, &kInvalidValue, kSince},
    {"serial 60, 1900-02-29", {"C4", 0, 0, Serial(60)}, &kInvalidValue, kSince},
    {"a serial after 9999", {"C5", 0, 0, 2958466}, &kInvalidValue, kSince},
    {"an error as the code", {ErrorValue("#REF!"), 0, 0, kDay}, &kInvalidValue, kCode},
    {"a tab in the code", {"D1\t", 0, 0, kDay}, &kStringError, kCode},
    {"a line feed in the code", {"D2\n", 0, 0, kDay}, &kStringError, kCode},
    {"a NUL in the code", {QString("D3") + QChar(0) + "X", 0, 0, kDay}, &kStringError, kCode},
};

TEST_P(ValueTest, VerifyRejectsWhatTheColumnCannotHoldAndStartWritesTheRestExactly) {
    const bool bits64 = GetParam() == "sqlite";  // SQLite's integers have 64 bits
    QList<QVariantList> rows{{"Code", "Limit", "Term", "Since", "Name"}};
    for (const Case& c : kCases) rows << c.cells + QVariantList{c.what};
    for (const char* file : {"Book.xls", "Book.xlsx"}) {
        SCOPED_TRACE(file);
        db->Execute("Delete From LEDG_MT_DEBTOR");
        LoadSheet({{"Customers", rows}}, "Customers", file);
        ChooseTable("LEDG_MT_DEBTOR");
        Map({{"Code", "DEBTORCODE"},
             {"Limit", "CREDITLIMIT"},
             {"Term", "CREDITTERM"},
             {"Since", "DATECREATED"},
             {"Name", "DEBTORNAME"}});
        form->CVerify_Click();
        QMap<QString, QPair<QString, int>> rejected;  // by row: verdict, column
        const Grid& result = *form->SC[Minsert::kResultGrid];
        for (int r = 0; r < result.Rows(); ++r)
            for (int c = 0; c < result.Cols(); ++c)
                if (const int color = result.CellBackColor(r, c))
                    for (const ErrorKind& kind : kErrorKinds)
                        if (kind.color == color)
                            rejected[result.CellText(r, -1)] = {kind.verdict, c};
        // An error cell shows its error, for the user to mend.
        QString shown;
        for (int r = 0; r < result.Rows(); ++r)
            if (result.CellText(r, kCode) == "B6") shown = result.CellText(r, kLimit);
        EXPECT_EQ(shown, "#DIV/0!");
        op.yesNoAnswers = {true};
        form->CStart_Click();
        ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
        EXPECT_EQ(op.LastMessage(), "Insert Done.");

        int row = 1;
        for (const Case& c : kCases) {
            SCOPED_TRACE(c.what);
            const QString number = QString::number(++row);
            const bool refused = c.verdict && !(c.only64Bits && bits64);
            if (refused) {
                EXPECT_EQ(rejected.value(number),
                          qMakePair(QString(c.verdict->verdict), int(c.column)));
                continue;
            }
            EXPECT_FALSE(rejected.contains(number)) << rejected.value(number).first.toStdString();
            EXPECT_EQ(Query("Select CREDITLIMIT, CREDITTERM, DATECREATED From LEDG_MT_DEBTOR "
                            "Where DEBTORCODE = '" +
                            c.cells[kCode].toString() + "'"),
                      QList<QStringList>{c.stored});
        }
    }
}

INSTANTIATE_ON_ENGINES(ValueTest);

}  // namespace
