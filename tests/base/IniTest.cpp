#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/Ini.h"

namespace {

class IniTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath("match.ini");

    QByteArray Bytes() const {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    void Write(const QByteArray& bytes) {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

TEST_F(IniTest, ValuesComeBackAsWritten) {
    for (const QString& value :
         {QString(""), QString("ITEMCODE"), QString("a b"), QString("it's"), QString(254, 'x')}) {
        ASSERT_TRUE(WriteIni("MatchField", "Field_1", value, file));
        EXPECT_EQ(ReadIni("MatchField", "Field_1", file), value);
    }
}

TEST_F(IniTest, ReadsAtMost254CharactersUnlessAskedForWholeValues) {
    ASSERT_TRUE(WriteIni("S", "K", QString(255, 'y'), file));
    EXPECT_EQ(ReadIni("S", "K", file), QString(254, 'y'));
    EXPECT_EQ(ReadIniSection("S", file).value("K"), QString(254, 'y'));
    EXPECT_EQ(ReadIniSection("S", file, IniValues::Whole).value("K"), QString(255, 'y'));
}

TEST_F(IniTest, OnePairOfEnclosingQuotesIsRemoved) {
    Write("[S]\r\nA='x'\r\nB=\"y\"\r\nC=''z''\r\nD='w\"\r\nE=  v  \r\n");
    EXPECT_EQ(ReadIni("S", "A", file), "x");
    EXPECT_EQ(ReadIni("S", "B", file), "y");
    EXPECT_EQ(ReadIni("S", "C", file), "'z'");
    EXPECT_EQ(ReadIni("S", "D", file), "'w\"");
    EXPECT_EQ(ReadIni("S", "E", file), "v");
}

TEST_F(IniTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(ReadIni("S", "K", dir.filePath("none.ini")), "");
    Write("[Other]\r\nK=1\r\n[S]\r\nJ=2\r\n");
    EXPECT_EQ(ReadIni("S", "K", file), "");
    EXPECT_EQ(ReadIni("Missing", "J", file), "");
}

TEST_F(IniTest, SectionAndKeyIgnoreLetterCase) {
    Write("[DefaultDefCode]\r\ntax=T1\r\n");
    EXPECT_EQ(ReadIni("DEFAULTDEFCODE", "Tax", file), "T1");
}

TEST_F(IniTest, WritingReplacesTheKeyInPlaceAndKeepsOtherLines) {
    Write(
        "; note\r\n[A]\r\nx=1\r\n\r\n[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='A'\r\n"
        "\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(WriteIni("MatchField", "TableName", "MT_PLU", file));
    ASSERT_TRUE(WriteIni("MatchField", "Field_2", "B", file));
    ASSERT_TRUE(WriteIni("New", "k", "v", file));
    EXPECT_EQ(Bytes(),
              "; note\r\n[A]\r\nx=1\r\n\r\n[MatchField]\r\nTableName='MT_PLU'\r\nField_1='A'\r\n"
              "Field_2='B'\r\n\r\n[B]\r\ny=2\r\n[New]\r\nk='v'\r\n");
}

TEST_F(IniTest, CreatesTheFileAndSection) {
    ASSERT_TRUE(WriteIni("MatchField", "TableName", "MT_ITEM", file));
    ASSERT_TRUE(WriteIni("MatchField", "Field_1", "ITEMCODE", file));
    ASSERT_TRUE(WriteIni("MatchField", "Field_2", "", file));
    EXPECT_EQ(Bytes(),
              "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2=''\r\n");
}

TEST_F(IniTest, AWriteThatCannotHappenAnswersFalse) {
    EXPECT_FALSE(WriteIni("S", "K", "v", dir.filePath("no/such/folder/x.ini")));
}

}  // namespace
