#include <gtest/gtest.h>

#include <QStringList>

#include "base/AppError.h"
#include "base/TextUtil.h"
#include "companies/CompanyDirectory.h"

namespace {

QString Data(const char* file) {
    return QString(XLSLOAD_SOURCE_DIR "/tests/support/companies/") + file;
}

// The ten companies in file order; a null pointer is a NULL column.
struct Company {
    const char* code;
    const char* name;
    const char* server;
    const char* database;
    const char* user;
};

const Company kCompanies[] = {
    {"C001", "Demo Trading", "localhost", "TILLDEMO", "sa"},
    {"C002", "North Outlet", "srv-north", "TILLNORTH", "admin"},
    {"C003", "No Password Co", "srv3", "DB3", "user3"},
    {"C004", "Empty Password Co", "srv4", "DB4", "user4"},
    {"C005", "Broken Password Co", "srv5", "DB5", "user5"},
    {"C006", "Marker Only Co", "srv6", "DB6", "user6"},
    {"C007", "No Marker Co", "srv7", "DB7", "user7"},
    {"O'NEIL", "Quote Code Co", "srv8", "DB8", "user8"},
    {"C009", "Null Server Co", nullptr, "DB9", nullptr},
    {"C010",
     "\xC3\x9Cn\xC3\xAF"
     "c\xC3\xB6"
     "d\xC3\xA9 Ltd",
     "srv10", "DB10", "user10"},
};

void ExpectText(const QVariant& value, const char* expected, const char* column) {
    if (!expected) {
        EXPECT_TRUE(value.isNull()) << column << " should be NULL";
        return;
    }
    EXPECT_FALSE(value.isNull()) << column;
    EXPECT_EQ(value.toString(), QString::fromUtf8(expected)) << column;
}

// Both Jet 4 variants hold the same ten rows.
class DirectoryFileTest : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override { directory_ = CompanyDirectory::Open(Data(GetParam())); }
    std::unique_ptr<CompanyDirectory> directory_;
};

TEST_P(DirectoryFileTest, ListsCodeAndNameInFileOrder) {
    ASSERT_TRUE(directory_->IsOpen());
    const auto list = directory_->List();
    ASSERT_EQ(list->FieldCount(), 2);
    EXPECT_EQ(list->FieldAt(0).name, "Code");
    EXPECT_EQ(list->FieldAt(1).name, "Name");
    ASSERT_EQ(list->RecordCount(), static_cast<int>(std::size(kCompanies)));
    for (const Company& c : kCompanies) {
        ASSERT_FALSE(list->Eof());
        ExpectText(list->Value("Code"), c.code, "Code");
        ExpectText(list->Value("Name"), c.name, "Name");
        list->MoveNext();
    }
    EXPECT_TRUE(list->Eof());
}

TEST_P(DirectoryFileTest, FindsEachCompanyWithEveryColumn) {
    for (const Company& c : kCompanies) {
        SCOPED_TRACE(c.code);
        const auto found = directory_->Find(QString::fromUtf8(c.code));
        ASSERT_EQ(found->RecordCount(), 1);
        QStringList names;
        for (const Field& f : found->Fields()) names << f.name;
        EXPECT_EQ(names, QStringList({"CompanyCode", "CompanyName", "ServerName", "DatabaseName",
                                      "UserID", "Password", "Remarks"}));
        ExpectText(found->Value("CompanyCode"), c.code, "CompanyCode");
        ExpectText(found->Value("CompanyName"), c.name, "CompanyName");
        ExpectText(found->Value("ServerName"), c.server, "ServerName");
        ExpectText(found->Value("DatabaseName"), c.database, "DatabaseName");
        ExpectText(found->Value("UserID"), c.user, "UserID");
        EXPECT_FALSE(found->Value("Remarks").toString().isEmpty());
    }
}

TEST_P(DirectoryFileTest, TellsANullPasswordFromAnEmptyOne) {
    const QVariant null = directory_->Find("C003")->Value("Password");
    const QVariant empty = directory_->Find("C004")->Value("Password");
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(empty.toString(), "");
}

TEST_P(DirectoryFileTest, MatchesTheCodeExactly) {
    EXPECT_EQ(directory_->Find("c001")->RecordCount(), 0);
    EXPECT_EQ(directory_->Find("C001 ")->RecordCount(), 0);
    EXPECT_EQ(directory_->Find("C00")->RecordCount(), 0);
    EXPECT_EQ(directory_->Find("' OR ''='")->RecordCount(), 0);
    EXPECT_EQ(directory_->Find("")->RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Jet4, DirectoryFileTest,
                         testing::Values("CompFile.mdb", "CompFile-2003.mdb"));

// Stored passwords: their Windows-1252 codes as the file keeps them, what
// Decrypt makes of them, and what a double click leaves in the password box
// (the text after the marker, or nothing when the marker is missing).
struct PasswordCase {
    const char* code;
    std::vector<int> stored;
    const char* plain;
    const char* box;
};

void PrintTo(const PasswordCase& c, std::ostream* os) { *os << c.code; }

class PasswordTest : public testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordTest, ReachesDecryptAsTheStoredCodes) {
    const PasswordCase& p = GetParam();
    const auto directory = CompanyDirectory::Open(Data("CompFile.mdb"));
    const QString stored = directory->Find(QString::fromUtf8(p.code))->Value("Password").toString();
    std::vector<int> codes;
    for (QChar c : stored) codes.push_back(Cp1252Code(c));
    EXPECT_EQ(codes, p.stored);

    const QString plain = Decrypt(stored);
    EXPECT_EQ(plain, QString::fromUtf8(p.plain));
    const QString marker = "LOGINMARKER";
    EXPECT_EQ(plain.startsWith(marker) ? plain.mid(marker.size()) : QString(),
              QString::fromUtf8(p.box));
}

INSTANTIATE_TEST_SUITE_P(
    CompFile, PasswordTest,
    testing::Values(PasswordCase{"C001",
                                 {0x6F, 0x74, 0x7D, 0xBB, 0xC3, 0xC4, 0xAC, 0xBD, 0xC1, 0xBE, 0xB5,
                                  0xBA, 0xB9, 0xCF, 0xD6, 0xD4, 0xD7, 0xEF, 0xC8, 0xE3, 0xA5, 0x63},
                                 "LOGINMARKERsecret1",
                                 "secret1"},
                    PasswordCase{
                        "C002",
                        {0x69, 0x7A, 0x70, 0xB5, 0xC9, 0xB7, 0xBE, 0xB7, 0xC7, 0xB1, 0xC7, 0xB4,
                         0xBF, 0xC2, 0xE5, 0xA9, 0xED, 0xE3, 0xB0, 0xE0, 0xE9, 0xE2, 0xD9, 0x75},
                        "LOGINMARKERp@ss;word",
                        "p@ss;word"},
                    PasswordCase{"C005", {0x61, 0x62}, "Error: Invalid text to Decrypt", ""},
                    PasswordCase{"C006",
                                 {0x23, 0x62, 0x72, 0x6F, 0xB1, 0xB9, 0xEE, 0x71, 0xAF, 0xB3, 0xF7,
                                  0x6E, 0xA7, 0xC4, 0xA5},
                                 "LOGINMARKER",
                                 ""},
                    PasswordCase{"C007",
                                 {0x42, 0x5B, 0x40, 0xAA, 0xC0, 0xAC, 0xBF, 0xB1, 0x7B, 0xB7, 0xC2,
                                  0xB4, 0xC7, 0xA4, 0x53},
                                 "hello world",
                                 ""},
                    PasswordCase{"O'NEIL",
                                 {0x66, 0x6C, 0x29, 0xB2, 0xBB, 0x70, 0xA8, 0xB4, 0xB9, 0x6A, 0xB1,
                                  0xB1, 0xB1, 0x7B, 0xD0, 0x5F},
                                 "LOGINMARKERq",
                                 "q"},
                    PasswordCase{"C009",
                                 {0x59, 0x5D, 0x6A, 0xA5, 0xAC, 0xB1, 0xB7, 0xA7, 0xAA, 0xAB, 0xC0,
                                  0xA4, 0xA2, 0xBC, 0xDC, 0xC2, 0xCB, 0xCF, 0x6E},
                                 "LOGINMARKERnine",
                                 "nine"},
                    // The third key is the control character 0x12: it must survive the reading.
                    PasswordCase{"C010",
                                 {0x56, 0x67, 0x12, 0xA2, 0xB6, 0x59, 0xBA, 0xA4, 0xB4, 0x53, 0xC3,
                                  0xA1, 0xAC, 0x64, 0xD4, 0xB7, 0xCD, 0xFB, 0x71},
                                 "LOGINMARKERcaf\xC3\xA9",
                                 "caf\xC3\xA9"}));

TEST(EmptyDirectoryTest, OpensAndListsNothing) {
    const auto directory = CompanyDirectory::Open(Data("CompFile-empty.mdb"));
    const auto list = directory->List();
    EXPECT_EQ(list->FieldCount(), 2);
    EXPECT_EQ(list->RecordCount(), 0);
    EXPECT_TRUE(list->Eof());
    EXPECT_EQ(directory->Find("C001")->RecordCount(), 0);
}

TEST(ClosedDirectoryTest, RefusesToReadAfterClose) {
    const auto directory = CompanyDirectory::Open(Data("CompFile.mdb"));
    directory->Close();
    EXPECT_FALSE(directory->IsOpen());
    EXPECT_THROW(directory->List(), AppError);
    EXPECT_THROW(directory->Find("C001"), AppError);
}

}  // namespace
