#include <gtest/gtest.h>

#include "base/TextUtil.h"

namespace {

struct CheckCase {
    const char* text;
    bool forbidden;
};

class CheckStringTest : public testing::TestWithParam<CheckCase> {};

TEST_P(CheckStringTest, FindsTheFourForbiddenCharactersAnywhere) {
    EXPECT_EQ(CheckString(QString::fromUtf8(GetParam().text)), GetParam().forbidden)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Codes, CheckStringTest,
                         testing::Values(CheckCase{"", false}, CheckCase{"ABC-123_x", false},
                                         CheckCase{"A\tB", false},
                                         CheckCase{"\xC3\xA9t\xC3\xA9", false},
                                         CheckCase{" AB", true}, CheckCase{"AB ", true},
                                         CheckCase{"A B", true}, CheckCase{"'AB", true},
                                         CheckCase{"AB'", true}, CheckCase{"A\"B", true},
                                         CheckCase{"#1", true}, CheckCase{"1#", true}));

// Stored passwords of the company directory fixture: Windows-1252 codes.
QString FromCodes(std::initializer_list<int> codes) {
    QString s;
    for (int c : codes) s += Cp1252Char(c);
    return s;
}

struct DecryptCase {
    QString stored;
    QString plain;
};

class DecryptTest : public testing::TestWithParam<DecryptCase> {};

TEST_P(DecryptTest, RecoversThePlainText) {
    EXPECT_EQ(Decrypt(GetParam().stored), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    CompanyDirectoryVectors, DecryptTest,
    testing::Values(
        DecryptCase{FromCodes({0x6F, 0x74, 0x7D, 0xBB, 0xC3, 0xC4, 0xAC, 0xBD, 0xC1, 0xBE, 0xB5,
                               0xBA, 0xB9, 0xCF, 0xD6, 0xD4, 0xD7, 0xEF, 0xC8, 0xE3, 0xA5, 0x63}),
                    "LOGINMARKERsecret1"},
        DecryptCase{
            FromCodes({0x69, 0x7A, 0x70, 0xB5, 0xC9, 0xB7, 0xBE, 0xB7, 0xC7, 0xB1, 0xC7, 0xB4,
                       0xBF, 0xC2, 0xE5, 0xA9, 0xED, 0xE3, 0xB0, 0xE0, 0xE9, 0xE2, 0xD9, 0x75}),
            "LOGINMARKERp@ss;word"},
        DecryptCase{FromCodes({0x61, 0x62}), "Error: Invalid text to Decrypt"},
        DecryptCase{FromCodes({0x23, 0x62, 0x72, 0x6F, 0xB1, 0xB9, 0xEE, 0x71, 0xAF, 0xB3, 0xF7,
                               0x6E, 0xA7, 0xC4, 0xA5}),
                    "LOGINMARKER"},
        DecryptCase{FromCodes({0x42, 0x5B, 0x40, 0xAA, 0xC0, 0xAC, 0xBF, 0xB1, 0x7B, 0xB7, 0xC2,
                               0xB4, 0xC7, 0xA4, 0x53}),
                    "hello world"},
        DecryptCase{FromCodes({0x66, 0x6C, 0x29, 0xB2, 0xBB, 0x70, 0xA8, 0xB4, 0xB9, 0x6A, 0xB1,
                               0xB1, 0xB1, 0x7B, 0xD0, 0x5F}),
                    "LOGINMARKERq"},
        DecryptCase{FromCodes({0x59, 0x5D, 0x6A, 0xA5, 0xAC, 0xB1, 0xB7, 0xA7, 0xAA, 0xAB, 0xC0,
                               0xA4, 0xA2, 0xBC, 0xDC, 0xC2, 0xCB, 0xCF, 0x6E}),
                    "LOGINMARKERnine"},
        DecryptCase{FromCodes({0x56, 0x67, 0x12, 0xA2, 0xB6, 0x59, 0xBA, 0xA4, 0xB4, 0x53, 0xC3,
                               0xA1, 0xAC, 0x64, 0xD4, 0xB7, 0xCD, 0xFB, 0x71}),
                    QString::fromUtf8("LOGINMARKERcaf\xC3\xA9")},
        // Too short to hold the keys; three or four characters hold no payload.
        DecryptCase{"", "Error: Invalid text to Decrypt"},
        DecryptCase{"a", "Error: Invalid text to Decrypt"}, DecryptCase{"abc", ""},
        DecryptCase{"abcd", ""},
        // A code pushed below zero by its key cannot be a character.
        DecryptCase{FromCodes({0x50, 0x50, 0x50, 0x10, 0x50}), "Error: Invalid text to Decrypt"}));

TEST(Cp1252, MapsTheHighControlRangeBothWays) {
    EXPECT_EQ(Cp1252Code(QChar(0x20AC)), 0x80);
    EXPECT_EQ(Cp1252Char(0x80), QChar(0x20AC));
    EXPECT_EQ(Cp1252Code(QChar(0xE9)), 0xE9);
    EXPECT_EQ(Cp1252Code(QChar(0x4E2D)), '?');
}

}  // namespace
