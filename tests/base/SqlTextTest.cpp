#include <gtest/gtest.h>

#include "base/SqlText.h"

namespace {

TEST(SqlText, LiteralsAndBracketedNamesDoubleTheirClosingCharacter) {
    const struct {
        QString text;
        QString literal;
        QString bracketed;
    } cases[] = {
        {"MT_ITEM", "'MT_ITEM'", "[MT_ITEM]"},
        {"", "''", "[]"},
        {"O'Neil's", "'O''Neil''s'", "[O'Neil's]"},
        {"Weight [kg]", "'Weight [kg]'", "[Weight [kg]]]"},
        {"Item Name],[Secret", "'Item Name],[Secret'", "[Item Name]],[Secret]"},
        {"a]]b", "'a]]b'", "[a]]]]b]"},
        {"ITEMNAME') ; DROP TABLE MT_PLU; --", "'ITEMNAME'') ; DROP TABLE MT_PLU; --'",
         "[ITEMNAME') ; DROP TABLE MT_PLU; --]"},
        {"''", "''''''", "['']"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SqlLiteral(c.text), c.literal) << c.text.toStdString();
        EXPECT_EQ(BracketName(c.text), c.bracketed) << c.text.toStdString();
    }
}

}  // namespace
