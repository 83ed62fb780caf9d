#include <gtest/gtest.h>

#include "companies/JetHeader.h"

namespace {

// Page 0 of a database: signature, format name, then the version at 0x14.
QByteArray Head(int version, const char* name = "Standard Jet DB") {
    QByteArray head("\x00\x01\x00\x00", 4);
    head += QByteArray(name);
    head += '\0';
    head.resize(0x14, '\0');
    head += QByteArray(4, '\0');
    head[0x14] = static_cast<char>(version);
    return head;
}

struct HeaderCase {
    const char* what;
    QByteArray head;
    qint64 size;
    JetHeader expected;
};

void PrintTo(const HeaderCase& c, std::ostream* os) { *os << c.what; }

class JetHeaderTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(JetHeaderTest, JudgesTheFileBeforeLibmdbSeesIt) {
    EXPECT_EQ(CheckJetHeader(GetParam().head, GetParam().size), GetParam().expected)
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, JetHeaderTest,
    testing::Values(
        HeaderCase{"Jet 4, whole pages", Head(1), 28 * 4096, JetHeader::Jet4},
        HeaderCase{"Jet 3, whole 2 KB pages", Head(0), 5 * 2048, JetHeader::Jet3},
        HeaderCase{"Jet 4 size in 2 KB pages only", Head(1), 5 * 2048, JetHeader::Truncated},
        HeaderCase{"Jet 4 cut inside a page", Head(1), 28 * 4096 - 100, JetHeader::Truncated},
        HeaderCase{"Jet 4 with fewer than three pages", Head(1), 2 * 4096, JetHeader::Truncated},
        HeaderCase{"Access 2007 and later", Head(2, "Standard ACE DB"), 4096 * 10,
                   JetHeader::NotJet},
        HeaderCase{"unknown Jet version", Head(7), 4096 * 10, JetHeader::NotJet},
        HeaderCase{"empty file", QByteArray(), 0, JetHeader::NotJet},
        HeaderCase{"header cut short", Head(1).left(0x10), 0x10, JetHeader::NotJet},
        HeaderCase{"text file", QByteArray("Code,Name\nC001,Demo Trading\n"), 28,
                   JetHeader::NotJet},
        HeaderCase{"format name without its zero", Head(1).replace(0x13, 1, "X"), 4096 * 10,
                   JetHeader::NotJet}));

}  // namespace
