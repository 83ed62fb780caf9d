#include <gtest/gtest.h>

#include "workbook/SheetQuery.h"

namespace {

// The texts the verify pass sends, as the engine prepares them.
TEST(SheetQuery, CountQueriesBecomeOneStatement) {
    struct Case {
        const char* sql;
        const char* text;
        QVariantList literals;
        QStringList compared;
        QStringList cstr;
    };
    const Case cases[] = {
        {"Select Count([Num]) From [Codes$] Where [Num]=1001",
         "Select Count([Num]) From [Codes$] Where [Num]=?",
         {qlonglong(1001)},
         {"Num"},
         {}},
        {"Select Count([Num]) From [Codes$] Where [Num]=12.5",
         "Select Count([Num]) From [Codes$] Where [Num]=?",
         {12.5},
         {"Num"},
         {}},
        {"Select Count([Num]) From [Codes$] Where [Num]=1e+20",
         "Select Count([Num]) From [Codes$] Where [Num]=?",
         {1e20},
         {"Num"},
         {}},
        {"Select Count([Num]) From [Codes$] Where [Num]=-5",
         "Select Count([Num]) From [Codes$] Where [Num]=-?",
         {qlonglong(5)},
         {"Num"},
         {}},
        {"Select Count([Code]) From [Codes$] Where [Code]='O''Neil'",
         "Select Count([Code]) From [Codes$] Where [Code]=?",
         {"O'Neil"},
         {"Code"},
         {}},
        {"Select Count([T]) From [S$] Where CStr([T])='a' And CStr([C])='b''c' "
         "And CStr([T]) Is Not Null And CStr([C]) Is Not Null ",
         "Select Count([T]) From [S$] Where CStr([T]) COLLATE CASEFOLD=? And CStr([C]) COLLATE "
         "CASEFOLD=? And CStr([T]) COLLATE CASEFOLD Is Not Null And CStr([C]) COLLATE CASEFOLD "
         "Is Not Null ",
         {"a", "b'c"},
         {},
         {"T", "C"}},
        {"Select * From (Select [Code] As [TILL-BOMITEMCODE],[Type] As [TILL-TYPE] From [B$]) As "
         "[B$] Where [TILL-TYPE]='D'",
         "Select * From (Select [Code] As [TILL-BOMITEMCODE],[Type] As [TILL-TYPE] From [B$]) As "
         "[B$] Where [TILL-TYPE]=?",
         {"D"},
         {"TILL-TYPE"},
         {}},
        // Brackets and quotes hide what looks like syntax inside them.
        {"Select [a=b], 'x=1' From [S$] Where [c]=[d]",
         "Select [a=b], 'x=1' From [S$] Where [c]=[d]",
         {},
         {"c"},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const SheetQuery q = AnalyzeSheetQuery(c.sql);
        EXPECT_EQ(q.text, c.text);
        QVariantList literals;
        for (const SheetQuery::Bind& b : q.binds) {
            EXPECT_FALSE(b.fromCaller);
            literals.append(b.literal);
        }
        EXPECT_EQ(literals, c.literals);
        EXPECT_EQ(q.comparedColumns, c.compared);
        EXPECT_EQ(q.cstrColumns, c.cstr);
    }
}

TEST(SheetQuery, CallerParametersKeepTheirPlaceAmongLiterals) {
    const SheetQuery q = AnalyzeSheetQuery("Select * From [S$] Where [A]=? And [B]='x' And [C]=?");
    EXPECT_EQ(q.text, "Select * From [S$] Where [A]=? And [B]=? And [C]=?");
    ASSERT_EQ(q.binds.size(), 3);
    EXPECT_TRUE(q.binds[0].fromCaller);
    EXPECT_FALSE(q.binds[1].fromCaller);
    EXPECT_EQ(q.binds[1].literal, QVariant("x"));
    EXPECT_TRUE(q.binds[2].fromCaller);
    EXPECT_TRUE(q.names.contains("S$"));
}

}  // namespace
