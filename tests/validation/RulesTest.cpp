#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "QStringPrinter.h"
#include "base/Grid.h"
#include "base/TextUtil.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"
#include "database/DemoSchema.h"
#include "database/TableQuery.h"
#include "mapping/Catalogue.h"
#include "mapping/ColumnDiscovery.h"
#include "mapping/SelectLists.h"
#include "validation/Rules.h"

namespace {

// The tables the operator can choose.
std::vector<QString> CatalogueTables() {
    std::vector<QString> tables;
    for (const CatalogueEntry& entry : kCatalogue)
        if (*entry.table) tables.emplace_back(entry.table);
    return tables;
}

// The hidden rule grids as choosing the table loads them.
struct RuleGrids {
    explicit RuleGrids(const QString& table) {
        const TableRules rules = RulesFor(table);
        Fill(mustFill, rules.mustFill, 1);
        Fill(mustDefault, rules.mustDefault, 2);
    }
    Grid mustFill{false};
    Grid mustDefault{false};

private:
    static void Fill(Grid& grid, const QStringList& entries, int cols) {
        grid.SetCols(cols);
        for (const QString& entry : entries) {
            grid.InsertRows(grid.Rows(), 1);
            grid.SetCellText(grid.Rows() - 1, 0, entry);
        }
    }
};

// A mapping grid whose sheet columns go to these TILL Fields.
void Map(Grid& mapping, const QStringList& tillFields) {
    mapping.SetCols(3);
    mapping.SetRows(tillFields.size());
    for (int i = 0; i < tillFields.size(); ++i) {
        mapping.SetCellText(i, 0, "Col" + QString::number(i));
        mapping.SetCellText(i, 1, tillFields[i]);
    }
}

// The entries of the rows the insert still applies.
QStringList Shown(const Grid& rules) {
    QStringList shown;
    for (int i = 0; i < rules.Rows(); ++i)
        if (rules.RowHeight(i) != 0) shown << rules.CellText(i, 0);
    return shown;
}

QStringList Entries(const QString& defaultFieldList) {
    return defaultFieldList.isEmpty() ? QStringList() : defaultFieldList.mid(1).split(',');
}

// The insert appends the default list to its columns, takes the count of
// last columns as the defaults and applies the shown rows: all three must
// name the same entries.
void ExpectDefaults(const DefaultFields& defaults, const Grid& mustDefault,
                    const QStringList& expected) {
    EXPECT_EQ(Shown(mustDefault), expected);
    EXPECT_EQ(Entries(defaults.list), expected);
    EXPECT_EQ(defaults.count, expected.size());
}

struct MustFillCase {
    QString table;
    QStringList mapped;
    QString refused;  // the columns Verify names as not to be left blank
};

void PrintTo(const MustFillCase& c, std::ostream* os) {
    *os << c.table.toStdString() << " mapping " << c.mapped.join(',').toStdString();
}

class MustFillTest : public testing::TestWithParam<MustFillCase> {};

TEST_P(MustFillTest, VerifyNamesTheColumnsStillToMap) {
    RuleGrids grids(GetParam().table);
    Grid mapping;
    Map(mapping, GetParam().mapped);
    EXPECT_EQ(HideCoveredMustFill(grids.mustFill, mapping), GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, MustFillTest,
    testing::Values(
        MustFillCase{"INVT_MT_ITEM", {"ITEMCODE"}, "ITEMNAME"},
        MustFillCase{"MT_ITEM", {}, "ITEMCODE,ITEMNAME"},
        // PLUCODE is never demanded: the item code stands in for it.
        MustFillCase{"MT_ITEM", {"ITEMCODE", "ITEMNAME", "PLUCODE"}, ""},
        MustFillCase{"INVT_MT_CLASS", {"CLASSTYPECODE"}, "CLASSCODE,CLASSNAME"},
        MustFillCase{"MT_CLASS", {}, "CLASSTYPECODE,CLASSCODE,CLASSNAME"},
        // TILL Fields compare trimmed and in any letter case; an empty one covers nothing.
        MustFillCase{"INVT_MT_CLASS", {"  classcode ", "", "ClassTypeCode", "CLASSNAME"}, ""},
        MustFillCase{"MT_PLU", {"PLUCODE"}, "ITEMCODE,POSDESCRIPTION,UOMQTY"},
        MustFillCase{"MT_PLU", {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY"}, ""},
        // A column whose name starts with a must-fill one does not stand for it.
        MustFillCase{
            "MT_PLU", {"PLUCODE", "ITEMCODE", "POSDESCRIPTION1", "UOMQTY"}, "POSDESCRIPTION"},
        MustFillCase{"LEDG_MT_CREDITOR", {"CREDITORNAME"}, "CREDITORCODE"},
        MustFillCase{"LEDG_MT_DEBTOR", {"DEBTORCODE"}, "DEBTORNAME"},
        MustFillCase{"INVT_MT_ITEMGROUP", {"ITEMGROUPNAME"}, "ITEMGROUPCODE"},
        MustFillCase{"CLUB_MT_MEMBER", {"MEMBERCODE", "MEMBERNAME", "MEMBERNAME"}, ""},
        // A bill of material demands nothing before Verify checks its lines.
        MustFillCase{"INVT_MT_BOM", {}, ""}));

struct DefaultCase {
    QString table;
    QStringList mapped;
    QStringList defaults;  // the columns the insert fills itself, in order
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.table.toStdString() << " mapping " << c.mapped.join(',').toStdString();
}

class DefaultsTest : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultsTest, TheInsertFillsTheUnmappedDefaultColumns) {
    RuleGrids grids(GetParam().table);
    Grid mapping;
    Map(mapping, GetParam().mapped);
    ExpectDefaults(HideCoveredMustDefault(grids.mustDefault, mapping), grids.mustDefault,
                   GetParam().defaults);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, DefaultsTest,
    testing::Values(
        DefaultCase{"INVT_MT_CLASS", {"CLASSTYPECODE"}, {"APPCODE"}},
        DefaultCase{
            "INVT_MT_CLASS", {"  classcode ", "", "ClassTypeCode", "CLASSNAME"}, {"APPCODE"}},
        DefaultCase{"MT_CLASS", {}, {}},
        DefaultCase{"MT_PLU",
                    {"PLUCODE", "ITEMCODE", "POSDESCRIPTION", "UOMQTY"},
                    {"POSDESCRIPTION1", "POSDESCRIPTION2", "POSDESCRIPTION3", "BUTTONDESC"}},
        DefaultCase{"MT_PLU",
                    {"PLUCODE"},
                    {"ITEMCODE", "POSDESCRIPTION", "POSDESCRIPTION1", "POSDESCRIPTION2",
                     "POSDESCRIPTION3", "BUTTONDESC", "UOMQTY"}},
        DefaultCase{"MT_ITEM",
                    {"ITEMCODE", "ITEMNAME", "PLUCODE"},
                    {"ITEMTYPE", "POSDESCRIPTION", "POSDESCRIPTION1", "POSDESCRIPTION2",
                     "POSDESCRIPTION3", "BUTTONDESC", "DATECREATED", "REFCODE"}},
        // A member's name comes from the code unless a column gives it; a
        // column mapped twice hides its row once.
        DefaultCase{"CLUB_MT_MEMBER", {"MEMBERCODE"}, {"MEMBERNAME"}},
        DefaultCase{"CLUB_MT_MEMBER", {"MEMBERCODE", "MEMBERNAME", "MEMBERNAME"}, {}},
        DefaultCase{"INVT_MT_BOM", {}, {}}));

class ItemPluTest : public testing::TestWithParam<QString> {};

// An item sheet without PLU codes gives each item a PLU of its own code; a
// sheet with a PLUCODE column keeps its codes, and Verify does not demand one.
TEST_P(ItemPluTest, AMappedPlucodeReplacesThePluMadeFromTheItemCode) {
    RuleGrids grids(GetParam());
    Grid mapping;
    Map(mapping, {"ITEMCODE", "ITEMNAME"});
    EXPECT_TRUE(Entries(HideCoveredMustDefault(grids.mustDefault, mapping).list)
                    .contains("ITEMCODE AS PLUCODE"));
    Map(mapping, {"ITEMCODE", "ITEMNAME", " plucode"});
    EXPECT_FALSE(Entries(HideCoveredMustDefault(grids.mustDefault, mapping).list)
                     .contains("ITEMCODE AS PLUCODE"));
    EXPECT_FALSE(Shown(grids.mustDefault).contains("ITEMCODE AS PLUCODE"));
    EXPECT_EQ(HideCoveredMustFill(grids.mustFill, mapping), "");
}

INSTANTIATE_TEST_SUITE_P(ItemTables, ItemPluTest, testing::Values("INVT_MT_ITEM", "MT_ITEM"));

class CatalogueTableTest : public testing::TestWithParam<QString> {};

// A mapped column is written from the sheet and never also given a
// default: mapping the column an entry writes hides that entry, no other.
TEST_P(CatalogueTableTest, MappingAColumnHidesOnlyItsOwnDefault) {
    const QStringList all = RulesFor(GetParam()).mustDefault;
    for (const QString& entry : all) {
        SCOPED_TRACE(entry.toStdString());
        RuleGrids grids(GetParam());
        Grid mapping;
        Map(mapping, {ParseSelectItem(entry).name});
        QStringList rest = all;
        rest.removeOne(entry);
        ExpectDefaults(HideCoveredMustDefault(grids.mustDefault, mapping), grids.mustDefault, rest);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, CatalogueTableTest, testing::ValuesIn(CatalogueTables()));

// The rules against the tables of the demo till database.
class TillTableTest : public testing::TestWithParam<QString> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = DbConnection::Connect(SqliteTarget(dir.path() + "/till.db"),
                                   DbConnection::SqliteFile::Create);
        CreateDemoSchema(*db);
    }

    // The first column of a query's rows, as upper-case names.
    QStringList Names(const QString& sql, const QVariantList& params = {}) const {
        QStringList names;
        for (const auto rs = db->Open(sql, params); !rs->Eof(); rs->MoveNext())
            names << ColumnKey(rs->Value(0).toString());
        return names;
    }

    QStringList Keys() const {
        QStringList keys;
        for (const QString& key : rules.keyFields)
            if (!key.isEmpty()) keys << key;
        return keys;
    }

    const QString table = GetParam();
    const TableRules rules = RulesFor(table);
    QTemporaryDir dir;
    std::unique_ptr<DbConnection> db;
};

// The insert updates the record the key fields find: any other columns than
// the table's own key would let one sheet row overwrite a record it does not
// name, or add a second record under a key that is taken.
TEST_P(TillTableTest, KeyFieldsAreTheTablesPrimaryKey) {
    QStringList primary = Names(db->SqlDialect().PrimaryKeyQuery(), {table});
    ASSERT_FALSE(primary.isEmpty());
    QStringList keys = Keys();
    keys.sort();
    primary.sort();
    EXPECT_EQ(keys, primary);
}

// A must-fill column the TILL Field list does not offer could never be
// mapped, and Verify would refuse every sheet of the table.
TEST_P(TillTableTest, EveryMustFillColumnIsOfferedToMap) {
    QStringList offered;
    for (const TargetColumn& column : ReadTargetColumns(*db, table, ColumnListing::Unused, ""))
        if (IsOffered(column.name)) offered << column.name;
    for (const QString& column : rules.mustFill)
        EXPECT_TRUE(offered.contains(column)) << column.toStdString();
}

// With the must-fill and key columns mapped, the insert opens the record
// with the mapped columns followed by the default list and writes each
// default to the field of its name among the last DefaultFieldCount. A
// default naming no column of the table would fail every record.
TEST_P(TillTableTest, TheInsertOpensTheTableWithEveryDefaultColumn) {
    QStringList mapped = rules.mustFill;
    for (const QString& key : Keys())
        if (!mapped.contains(key)) mapped << key;
    Grid mapping;
    Map(mapping, mapped);
    RuleGrids grids(table);
    const DefaultFields defaults = HideCoveredMustDefault(grids.mustDefault, mapping);
    const QStringList columns =
        BuildSelectLists(mapping, table).target.split(',') + Entries(defaults.list);
    Criteria where;
    for (const QString& key : Keys()) where.append({key, "K1"});

    const QStringList tableColumns = Names(db->SqlDialect().ColumnListQuery(table, ""));
    const auto record = db->OpenTable({table, columns, where});
    ASSERT_EQ(record->FieldCount(), columns.size());
    const int firstDefault = record->FieldCount() - defaults.count;
    for (const QString& entry : Shown(grids.mustDefault)) {
        SCOPED_TRACE(entry.toStdString());
        // SQLite takes a quoted name it does not know for a text, so the
        // opening alone does not prove the column is there.
        EXPECT_TRUE(tableColumns.contains(ParseSelectItem(entry).column));
        EXPECT_GE(record->IndexOf(ParseSelectItem(entry).name), firstDefault);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, TillTableTest, testing::ValuesIn(CatalogueTables()));

// Only the catalogue's tables have rules: the separator's empty name, a
// table of the till that is not offered, or a name in other letters loads
// no keys and no rows.
TEST(RulesForTest, ATableOutsideTheCatalogueHasNoRules) {
    for (const char* name :
         {"", "mt_item", "INVT_MT_CREDITOR", "INVT_MT_PLU", "INVT_MT_BOMMASTER"}) {
        const TableRules rules = RulesFor(name);
        EXPECT_EQ(rules.keyFields, (std::array<QString, 3>{})) << name;
        EXPECT_TRUE(rules.mustFill.isEmpty()) << name;
        EXPECT_TRUE(rules.mustDefault.isEmpty()) << name;
    }
}

TEST(RulesForTest, EachRunReflectsOnlyTheCurrentMapping) {
    RuleGrids grids("MT_ITEM");
    Grid mapping;
    Map(mapping, {"ITEMCODE", "ITEMNAME"});
    EXPECT_EQ(HideCoveredMustFill(grids.mustFill, mapping), "");
    Map(mapping, {"ITEMCODE"});
    EXPECT_EQ(HideCoveredMustFill(grids.mustFill, mapping), "ITEMNAME");
    EXPECT_EQ(grids.mustFill.RowHeight(0), 0);
    EXPECT_EQ(grids.mustFill.RowHeight(1), kShownRowHeight);
}

}  // namespace
