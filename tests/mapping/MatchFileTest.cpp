#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "HostileNames.h"
#include "QStringPrinter.h"
#include "mapping/MatchFile.h"
#include "mapping/MatchFit.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(MatchFile, TheSheetsColumnNamesAreKeptAfterTheFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath("items.ini");
    ASSERT_TRUE(SaveMatchFile(
        path, {"MT_ITEM", {"ITEMCODE", "", "ITEMNAME"}, {"Item Code", "Two\nLines", "Name"}}));
    EXPECT_EQ(ReadAll(path),
              "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2=''\r\n"
              "Field_3='ITEMNAME'\r\nName_1='Item Code'\r\nName_2='Two Lines'\r\n"
              "Name_3='Name'\r\n");
    // Every column the file names is read, however few rows the sheet has.
    const MatchFile read = ReadMatchFile(path, 1);
    EXPECT_EQ(read.tableName, "MT_ITEM");
    EXPECT_EQ(read.fields, (QStringList{"ITEMCODE", "", "ITEMNAME"}));
    EXPECT_EQ(read.names, (QStringList{"Item Code", "Two Lines", "Name"}));
}

// A file the program wrote reads back as it was written, whatever the
// sheet's column names hold and however long they are.
TEST(MatchFile, NamesAndFieldsComeBackWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath("hostile.ini");
    MatchFile saved{"MT_ITEM", {}, {}};
    for (const HostileName& hostile : HostileNames()) {
        if (hostile.name.isEmpty()) continue;  // an empty name ends the names read
        saved.fields << hostile.name;
        saved.names << hostile.name;
    }
    ASSERT_TRUE(SaveMatchFile(path, saved));
    const MatchFile read = ReadMatchFile(path, 1);
    EXPECT_EQ(read.tableName, saved.tableName);
    EXPECT_EQ(read.fields, saved.fields);
    EXPECT_EQ(read.names, saved.names);
}

TEST(MatchFile, AFileWithoutNamesReadsTheSheetsRowsByPosition) {
    QTemporaryDir dir;
    const QString path = dir.filePath("old.ini");
    WriteAll(path,
             "[MatchField]\r\nTableName='MT_ITEM'\r\nField_1='ITEMCODE'\r\nField_2='UOM'\r\n");
    const MatchFile read = ReadMatchFile(path, 3);
    EXPECT_EQ(read.fields, (QStringList{"ITEMCODE", "UOM", ""}));
    EXPECT_TRUE(read.names.isEmpty());
}

struct FitCase {
    const char* name;
    MatchFile match;
    QStringList sheet;
    QStringList fields, unmatched, missing;
};

const FitCase kFitCases[] = {
    {"no names: by position, whatever the sheet's names",
     {"MT_ITEM", {"ITEMCODE", "PLUCODE", "UNITPRICE"}, {}},
     {"Item Code", "Item Name"},
     {"ITEMCODE", "PLUCODE"},
     {},
     {}},
    {"the same columns",
     {"MT_ITEM", {"ITEMCODE", "", "UNITPRICE"}, {"Code", "Name", "Price"}},
     {"Code", "Name", "Price"},
     {"ITEMCODE", "", "UNITPRICE"},
     {},
     {}},
    {"moved columns follow their names",
     {"MT_ITEM", {"ITEMCODE", "ITEMNAME"}, {"Code", "Name"}},
     {"Name", "Extra", "Code"},
     {"ITEMNAME", "", "ITEMCODE"},
     {"Extra"},
     {}},
    {"letter case and blanks around a name do not matter",
     {"MT_ITEM", {"ITEMCODE", "ITEMNAME"}, {"item code", "NAME"}},
     {"  Item Code ", "Name"},
     {"ITEMCODE", "ITEMNAME"},
     {},
     {}},
    {"another layout: only like names map",
     {"MT_ITEM",
      {"ITEMCODE", "ITEMNAME", "PLUCODE", "UNITPRICE"},
      {"Item Code", "Item Name", "PLU Code", "Price"}},
     {"Item Code", "Item Name", "Portion Price"},
     {"ITEMCODE", "ITEMNAME", ""},
     {"Portion Price"},
     {"PLU Code", "Price"}},
    {"an unmapped column the sheet lacks is no loss",
     {"MT_ITEM", {"ITEMCODE", ""}, {"Code", "Remark"}},
     {"Code"},
     {"ITEMCODE"},
     {},
     {}},
    {"repeated names pair in order",
     {"MT_ITEM", {"ITEMCODE", "ITEMNAME"}, {"Code", "code"}},
     {"CODE", "Code"},
     {"ITEMCODE", "ITEMNAME"},
     {},
     {}},
};

TEST(MatchFit, ANamedFileMapsByNameAndTellsWhatDidNotMatch) {
    for (const FitCase& c : kFitCases) {
        SCOPED_TRACE(c.name);
        const MatchFit fit = FitMatchFile(c.match, c.sheet);
        EXPECT_EQ(fit.fields, c.fields);
        EXPECT_EQ(fit.unmatched, c.unmatched);
        EXPECT_EQ(fit.missing, c.missing);
        EXPECT_EQ(fit.Fits(), c.unmatched.isEmpty() && c.missing.isEmpty());
    }
}

TEST(MatchFit, TheMisfitTextNamesTheColumnsOnEitherSide) {
    const MatchFit both{{}, {"Portion Price"}, {"PLU Code", "Price"}};
    EXPECT_EQ(MatchMisfitText("DEMO_ITEMS", both),
              "The sheet's columns differ from those the match file DEMO_ITEMS was saved with: "
              "columns were matched by name. Not in the match file, left unmapped: "
              "'Portion Price'. In the match file but not in the sheet: 'PLU Code', 'Price'.");
    const MatchFit sheetOnly{{}, {"Extra"}, {}};
    EXPECT_EQ(MatchMisfitText("items", sheetOnly),
              "The sheet's columns differ from those the match file items was saved with: "
              "columns were matched by name. Not in the match file, left unmapped: 'Extra'.");
}

}  // namespace
