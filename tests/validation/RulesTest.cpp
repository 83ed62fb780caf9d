#include <gtest/gtest.h>

#include "base/Grid.h"
#include "validation/Rules.h"

namespace {

struct RuleCase {
    QString table;
    std::array<QString, 3> keys;
    QStringList mustFill;
    QStringList mustDefault;
};

QStringList Numbered(const QString& stem, int last) {
    QStringList names;
    for (int i = 1; i <= last; ++i) names << stem + QString::number(i);
    return names;
}

class RuleTableTest : public testing::TestWithParam<RuleCase> {};

TEST_P(RuleTableTest, HoldsTheTablesRules) {
    const TableRules rules = RulesFor(GetParam().table);
    EXPECT_EQ(rules.keyFields, GetParam().keys);
    EXPECT_EQ(rules.mustFill, GetParam().mustFill);
    EXPECT_EQ(rules.mustDefault, GetParam().mustDefault);
}

const QStringList kClassFill{"CLASSTYPECODE", "CLASSCODE", "CLASSNAME"};

INSTANTIATE_TEST_SUITE_P(
    Catalogue, RuleTableTest,
    testing::Values(
        RuleCase{"INVT_MT_CLASS", {"CLASSCODE", "CLASSTYPECODE", ""}, kClassFill, {"APPCODE"}},
        RuleCase{
            "INVT_MT_ITEM",
            {"ITEMCODE", "", ""},
            {"ITEMCODE", "ITEMNAME"},
            QStringList{"ITEMCODE AS PLUCODE", "REFPOSCODE", "REFPRINTERGROUPCODE", "REFTAXCODE",
                        "REFCHARGECODE", "REFDISCOUNTCODE", "REFSEASONCODE", "POSDESCRIPTION"} +
                Numbered("POSDESCRIPTION", 10) + QStringList{"DATECREATED"}},
        RuleCase{"INVT_MT_BOM", {"BOMGROUPCODE", "BOMITEMCODE", "ITEMCODE"}, {}, {}},
        RuleCase{
            "LEDG_MT_CREDITOR", {"CREDITORCODE", "", ""}, {"CREDITORCODE", "CREDITORNAME"}, {}},
        RuleCase{"LEDG_MT_DEBTOR", {"DEBTORCODE", "", ""}, {"DEBTORCODE", "DEBTORNAME"}, {}},
        RuleCase{
            "INVT_MT_ITEMGROUP", {"ITEMGROUPCODE", "", ""}, {"ITEMGROUPCODE", "ITEMGROUPNAME"}, {}},
        RuleCase{
            "CLUB_MT_MEMBER", {"MEMBERCODE", "", ""}, {"MEMBERCODE", "MEMBERNAME"}, {"MEMBERNAME"}},
        RuleCase{"", {"", "", ""}, {}, {}},
        RuleCase{"MT_CLASS", {"CLASSCODE", "CLASSTYPECODE", ""}, kClassFill, {}},
        RuleCase{"MT_ITEM",
                 {"ITEMCODE", "", ""},
                 {"ITEMCODE", "ITEMNAME"},
                 {"ITEMCODE AS PLUCODE", "ITEMTYPE", "POSDESCRIPTION", "POSDESCRIPTION1",
                  "POSDESCRIPTION2", "POSDESCRIPTION3", "BUTTONDESC", "DATECREATED", "REFCODE"}},
        RuleCase{"MT_PLU",
                 {"PLUCODE", "", ""},
                 {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY"},
                 {"ITEMCODE", "POSDESCRIPTION", "POSDESCRIPTION1", "POSDESCRIPTION2",
                  "POSDESCRIPTION3", "BUTTONDESC", "UOMQTY"}},
        // Names compare exactly.
        RuleCase{"mt_item", {"", "", ""}, {}, {}},
        RuleCase{"INVT_MT_CREDITOR", {"", "", ""}, {}, {}}));

void FillRules(Grid& g, const QStringList& entries, int cols) {
    g.SetCols(cols);
    for (const QString& e : entries) {
        g.InsertRows(g.Rows(), 1);
        g.SetCellText(g.Rows() - 1, 0, e);
    }
}

void Map(Grid& mapping, const QStringList& tillFields) {
    mapping.SetCols(3);
    mapping.SetRows(tillFields.size());
    for (int i = 0; i < tillFields.size(); ++i) {
        mapping.SetCellText(i, 0, "Col" + QString::number(i));
        mapping.SetCellText(i, 1, tillFields[i]);
    }
}

struct CoverCase {
    QString table;
    QStringList mapped;
    QString blankFill;
    QString defaultList;
    int defaultCount;
};

class CoverTest : public testing::TestWithParam<CoverCase> {};

TEST_P(CoverTest, MappedColumnsHideTheirRows) {
    const TableRules rules = RulesFor(GetParam().table);
    Grid mustFill(false), mustDefault(false);
    FillRules(mustFill, rules.mustFill, 1);
    FillRules(mustDefault, rules.mustDefault, 2);
    Grid mapping;
    Map(mapping, GetParam().mapped);
    EXPECT_EQ(HideCoveredMustFill(mustFill, mapping), GetParam().blankFill);
    const DefaultFields d = HideCoveredMustDefault(mustDefault, mapping);
    EXPECT_EQ(d.list, GetParam().defaultList);
    EXPECT_EQ(d.count, GetParam().defaultCount);
}

INSTANTIATE_TEST_SUITE_P(
    Mappings, CoverTest,
    testing::Values(
        CoverCase{"INVT_MT_CLASS", {"CLASSTYPECODE"}, "CLASSCODE,CLASSNAME", ",APPCODE", 1},
        CoverCase{"MT_PLU",
                  {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY"},
                  "",
                  ",POSDESCRIPTION1,POSDESCRIPTION2,POSDESCRIPTION3,BUTTONDESC",
                  4},
        CoverCase{
            "INVT_MT_CLASS", {"  classcode ", "", "ClassTypeCode", "CLASSNAME"}, "", ",APPCODE", 1},
        CoverCase{"MT_ITEM",
                  {"ITEMCODE", "ITEMNAME", "PLUCODE"},
                  "",
                  ",ITEMTYPE,POSDESCRIPTION,POSDESCRIPTION1,POSDESCRIPTION2,POSDESCRIPTION3,"
                  "BUTTONDESC,DATECREATED,REFCODE",
                  8},
        CoverCase{"MT_PLU",
                  {"PLUCODE"},
                  "ITEMCODE,POSDESCRIPTION,UOMQTY",
                  ",ITEMCODE,POSDESCRIPTION,POSDESCRIPTION1,POSDESCRIPTION2,POSDESCRIPTION3,"
                  "BUTTONDESC,UOMQTY",
                  7},
        // A column mapped twice still hides its row once.
        CoverCase{"CLUB_MT_MEMBER", {"MEMBERCODE", "MEMBERNAME", "MEMBERNAME"}, "", "", 0},
        CoverCase{"MT_CLASS", {}, "CLASSTYPECODE,CLASSCODE,CLASSNAME", "", 0},
        CoverCase{"INVT_MT_BOM", {}, "", "", 0}, CoverCase{"", {"ITEMCODE"}, "", "", 0}));

TEST(CoverTest, EachRunReflectsOnlyTheCurrentMapping) {
    Grid mustFill(false);
    FillRules(mustFill, RulesFor("MT_ITEM").mustFill, 1);
    Grid mapping;
    Map(mapping, {"ITEMCODE", "ITEMNAME"});
    EXPECT_EQ(HideCoveredMustFill(mustFill, mapping), "");
    Map(mapping, {"ITEMCODE"});
    EXPECT_EQ(HideCoveredMustFill(mustFill, mapping), "ITEMNAME");
    EXPECT_EQ(mustFill.RowHeight(0), 0);
    EXPECT_EQ(mustFill.RowHeight(1), kShownRowHeight);
}

}  // namespace
