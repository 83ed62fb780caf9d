#include <gtest/gtest.h>

#include "TestWorkbooks.h"
#include "base/AppError.h"
#include "base/Field.h"
#include "base/ValueText.h"
#include "workbook/SheetConnection.h"

namespace {

class SheetConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { codes_ = SheetConnection::OpenWorkbook(TestWorkbook("codes.xls")); }

    QVariant Scalar(const QString& sql, const QVariantList& params = {}) {
        const auto rs = codes_->Open(sql, params);
        EXPECT_FALSE(rs->Eof()) << sql.toStdString();
        return rs->Eof() ? QVariant() : rs->Value(0);
    }

    std::unique_ptr<SheetConnection> codes_;
};

TEST_F(SheetConnectionTest, SelectAllGivesSheetColumnsAndTypes) {
    const auto rs = codes_->Open("Select * From [Codes$]");
    EXPECT_EQ(rs->RecordCount(), 7);
    const QVector<QPair<QString, int>> expected = {{"Code", TypeCode::VarWChar},
                                                   {"Num", TypeCode::Double},
                                                   {"Type", TypeCode::VarWChar},
                                                   {"Class", TypeCode::VarWChar},
                                                   {"Note", TypeCode::VarWChar}};
    ASSERT_EQ(rs->FieldCount(), expected.size());
    for (int i = 0; i < rs->FieldCount(); ++i) {
        EXPECT_EQ(rs->FieldAt(i).name, expected[i].first);
        EXPECT_EQ(rs->FieldAt(i).type, expected[i].second);
    }
    EXPECT_EQ(rs->Value("Num"), QVariant(1001.0));
    EXPECT_TRUE(rs->Value("Class").isValid());
    rs->MoveNext();
    EXPECT_TRUE(rs->Value("Note").isNull());
}

// The duplicate counts of the verify pass, as it sends them: numbers
// unquoted, text quoted with "'" doubled, compared without regard to letter
// case for accented letters too.
TEST_F(SheetConnectionTest, CountQueries) {
    struct Case {
        const char* sql;
        qlonglong count;
    };
    const Case cases[] = {
        {"Select Count([Code]) From [Codes$] Where [Code]='ab1'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='AB1'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='Ab1'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='été'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='ÉTÉ'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='Été'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='O''Neil'", 2},
        {"Select Count([Code]) From [Codes$] Where [Code]='STRAßE'", 1},
        {"Select Count([Code]) From [Codes$] Where [Code]='ab'", 0},
        {"Select Count([Code]) From [Codes$] Where [Code]='ab1 '", 0},
        {"Select Count([Num]) From [Codes$] Where [Num]=1001", 2},
        {"Select Count([Num]) From [Codes$] Where [Num]=12.5", 1},
        {"Select Count([Num]) From [Codes$] Where [Num]=7", 1},
        {"Select Count([Num]) From [Codes$] Where [Num]=5", 0},
        {"Select Count([Num]) From [Codes$] Where [Num]='1001'", 2},
        // A number in a text column is compared as its text.
        {"Select Count([Type]) From [Codes$] Where [Type]='1'", 2},
        {"Select Count([Type]) From [Codes$] Where CStr([Type])='A' And CStr([Class])='x1' "
         "And CStr([Type]) Is Not Null And CStr([Class]) Is Not Null ",
         2},
        {"Select Count([Type]) From [Codes$] Where CStr([Type])='a' And CStr([Class])='X2' "
         "And CStr([Type]) Is Not Null And CStr([Class]) Is Not Null ",
         1},
        {"Select Count([Type]) From [Codes$] Where CStr([Type])='1' And CStr([Class])='y' "
         "And CStr([Type]) Is Not Null And CStr([Class]) Is Not Null ",
         2},
        {"Select Count([Type]) From [Codes$] Where CStr([Type])='' And CStr([Class])='z' "
         "And CStr([Type]) Is Not Null And CStr([Class]) Is Not Null ",
         0},
        {"Select Count([Num]) From [Codes$] Where CStr([Num])='12.5' And CStr([Code])='été' "
         "And CStr([Num]) Is Not Null And CStr([Code]) Is Not Null ",
         1},
    };
    // Twice: the second round runs on the statements and indexes of the first.
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases) {
            const auto rs = codes_->Open(c.sql);
            ASSERT_EQ(rs->RecordCount(), 1) << c.sql;
            EXPECT_EQ(rs->Value(0), QVariant(c.count)) << c.sql;
            EXPECT_EQ(rs->FieldAt(0).type, TypeCode::Integer);
        }
}

TEST_F(SheetConnectionTest, CStrGivesTheTextOfAValue) {
    struct Case {
        const char* expression;
        QVariant text;
    };
    const Case cases[] = {
        {"CStr([Num])", "1001"},
        {"CStr([Code])", "ab1"},
        {"CStr([Note])", "first"},
        {"CStr(12.5)", "12.5"},
        {"CStr(1e20)", "1e+20"},
        {"CStr(0.1+0.2)", "0.3"},
        {"CStr(Null)", QVariant()},
        {"CStr(-3)", "-3"},
        // Up to 15 significant digits; an exponent below 0.0001 and from 1e15.
        {"CStr(1.25)", "1.25"},
        {"CStr(0.0001)", "0.0001"},
        {"CStr(0.00001234)", "1.234e-05"},
        {"CStr(123456789012.345)", "123456789012.345"},
        {"CStr(123456789012345)", "123456789012345"},
        {"CStr(1234567890123456)", "1.23456789012346e+15"},
        {"CStr(1e15)", "1e+15"},
        {"CStr(-0.0)", "0"},
    };
    for (const Case& c : cases) {
        const QVariant v = Scalar(QString("Select %1 From [Codes$]").arg(c.expression));
        EXPECT_EQ(v, c.text) << c.expression;
        EXPECT_EQ(v.isNull(), c.text.isNull()) << c.expression;
    }
}

// Fields are named as the query names them and keep the sheet column's type,
// also through a sub-query.
TEST_F(SheetConnectionTest, AliasesAndSubQueries) {
    const auto rs = codes_->Open(
        "Select * From (Select [Code] As [TILL-ITEMCODE],[Num] As [TILL-PRICE],[Type] As "
        "[TILL-TYPE],[Code],[Num] From [Codes$]) As [Codes$] Where [TILL-TYPE]='a'");
    EXPECT_EQ(rs->RecordCount(), 3);
    const QVector<QPair<QString, int>> expected = {{"TILL-ITEMCODE", TypeCode::VarWChar},
                                                   {"TILL-PRICE", TypeCode::Double},
                                                   {"TILL-TYPE", TypeCode::VarWChar},
                                                   {"Code", TypeCode::VarWChar},
                                                   {"Num", TypeCode::Double}};
    ASSERT_EQ(rs->FieldCount(), expected.size());
    for (int i = 0; i < rs->FieldCount(); ++i) {
        EXPECT_EQ(rs->FieldAt(i).name, expected[i].first);
        EXPECT_EQ(rs->FieldAt(i).type, expected[i].second);
    }
    EXPECT_EQ(rs->Value("TILL-ITEMCODE"), QVariant("ab1"));
}

TEST_F(SheetConnectionTest, CallerParameters) {
    EXPECT_EQ(Scalar("Select Count(*) From [Codes$] Where [Code]=? And [Num]=?", {"AB1", 1001}),
              QVariant(qlonglong(2)));
    EXPECT_THROW(codes_->Open("Select Count(*) From [Codes$] Where [Code]=?"), AppError);
}

TEST_F(SheetConnectionTest, FailuresAreAppErrors) {
    struct Case {
        const char* sql;
        const char* says;
    };
    const Case cases[] = {
        {"Select * From [Nowhere$]", "no such table: Nowhere$; the workbook's sheets are Codes"},
        {"Select [Nothing] From [Codes$]", "no such column: Nothing"},
        {"Select From", "syntax error"},
        {"Delete From [Codes$]", "read-only"},
        {"Create Table T (A)", "read-only"},
    };
    for (const Case& c : cases) {
        try {
            codes_->Execute(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().contains(c.says)) << e.Description().toStdString();
        }
    }
    // The sheet is still whole afterwards.
    EXPECT_EQ(codes_->Open("Select * From [Codes$]")->RecordCount(), 7);
    codes_->Close();
    EXPECT_FALSE(codes_->IsOpen());
    EXPECT_THROW(codes_->Open("Select * From [Codes$]"), AppError);
}

TEST(SheetConnection, SheetNamesWithSpacesQuotesAndAccents) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("names.xls"));
    EXPECT_EQ(book->SheetNames(), SheetNames(TestWorkbook("names.xls")));
    for (const QString& name : book->SheetNames()) {
        const auto rs = book->Open("Select [Code] From [" + name + "$]");
        ASSERT_EQ(rs->RecordCount(), 1);
        EXPECT_EQ(rs->Value(0), QVariant(name));
    }
    // Table names, like the workbook driver's, ignore the letter case.
    EXPECT_EQ(book->Open("Select * From [my items$]")->RecordCount(), 1);
}

TEST(SheetConnection, DateColumnsKeepTheirTypeAndText) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("dates1904.xls"));
    const auto rs = book->Open("Select [Day] As [TILL-D], [Time] From [Dates$]");
    EXPECT_EQ(rs->FieldAt(0).type, TypeCode::Date);
    EXPECT_EQ(rs->FieldAt(1).type, TypeCode::Date);
    EXPECT_EQ(rs->Value(0), QVariant("2024-01-31"));
    EXPECT_EQ(rs->Value(1), QVariant("1904-01-01 08:30:00"));
    EXPECT_EQ(book->Open("Select Count(*) From [Dates$] Where [Day]='1904-01-02'")->Value(0),
              QVariant(qlonglong(1)));
}

// Every record of a full sheet is there and the per-cell counts find each
// code once, whichever letter case is asked for.
TEST(SheetConnection, FullSheetCounts) {
    const auto book = SheetConnection::OpenWorkbook(TestWorkbook("big.xls"));
    EXPECT_EQ(book->Open("Select * From [Big$]")->RecordCount(), 65535);
    for (int r = 1; r <= 65535; r += 97) {
        const QString code = QString("i%1").arg(r, 6, 10, QChar('0'));
        const auto byCode =
            book->Open("Select Count([Code]) From [Big$] Where [Code]='" + code + "'");
        EXPECT_EQ(byCode->Value(0), QVariant(qlonglong(1))) << code.toStdString();
        const auto byNumber =
            book->Open("Select Count([N1]) From [Big$] Where [N1]=" + NumberText(r * 2 + 0.5));
        EXPECT_EQ(byNumber->Value(0), QVariant(qlonglong(1))) << r;
    }
}

}  // namespace
