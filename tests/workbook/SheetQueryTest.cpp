#include <gtest/gtest.h>

#include "QStringPrinter.h"
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
        // A doubled "]" stands for one; SQLite, whose brackets end at the
        // first "]", is given such a name in double quotes.
        {"Select [Item Name]],[Secret] As [TILL-ITEMNAME] From [A]]B$] Where [a]]b]='x'",
         "Select \"Item Name],[Secret\" As [TILL-ITEMNAME] From \"A]B$\" Where \"a]b\"=?",
         {"x"},
         {"a]b"},
         {}},
        {"Select Count([SB$]] Union Select 1,2 From [SB]) From [S$] Where CStr([say \"x\"])='1'",
         "Select Count(\"SB$] Union Select 1,2 From [SB\") From [S$] Where CStr([say \"x\"]) "
         "COLLATE CASEFOLD=?",
         {"1"},
         {},
         {"say \"x\""}},
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

// A name the engine declares holds no NUL, which ends any name in SQLite's
// text: a stand-in takes its place, and the name comes back whole.
TEST(SheetQuery, ANameWithANulReachesTheEngineWithoutIt) {
    const QString name = QString("a") + QChar(0) + "b" + QChar(0xE000) + "\"";
    const QString quoted = EngineQuoted(name);
    EXPECT_FALSE(quoted.contains(QChar(0)));
    EXPECT_TRUE(quoted.startsWith('"') && quoted.endsWith("\"\"\""));
    EXPECT_EQ(NameFromEngine(quoted.mid(1, quoted.size() - 2).replace("\"\"", "\"")), name);
    const SheetQuery q = AnalyzeSheetQuery("Select [" + name + "] From [S$]");
    EXPECT_EQ(q.text, "Select " + quoted + " From [S$]");
    EXPECT_EQ(q.names.value(0), name);
    EXPECT_EQ(NameFromEngine("plain"), "plain");
}

// An unclosed name is no name, whatever it ends with.
TEST(SheetQuery, ADoubledBracketAtTheEndLeavesTheNameOpen) {
    EXPECT_FALSE(ProjectionOf("Select [a]] From [S$]").has_value());
    EXPECT_EQ(AnalyzeSheetQuery("Select [a] From [S$]]").text, "Select [a] From [S$]]");
    const auto p = ProjectionOf("Select [Item Name]],[Secret] As [x]]] From [A]]B$]");
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(p->items.size(), 1);
    EXPECT_EQ(p->items[0].column, "Item Name],[Secret");
    EXPECT_EQ(p->items[0].name, "x]");
    EXPECT_EQ(p->table, "A]B$");
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
