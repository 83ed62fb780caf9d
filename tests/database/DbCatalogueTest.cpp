#include <gtest/gtest.h>

#include <QFile>

#include "DbTestSupport.h"
#include "HostileNames.h"
#include "base/AppError.h"
#include "base/SqlText.h"
#include "database/ConnectionString.h"
#include "database/DemoSchema.h"

namespace {

// Name and length of every row of a column catalogue query; a null length
// reads "-", no limit "max".
QStringList Catalogue(DbConnection& db, const QString& sql) {
    QStringList columns;
    const auto rs = db.Open(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        const QVariant length = rs->Value(2);
        const int characters =
            db.SqlDialect().CharacterLength(length.toInt(), rs->Value(1).toInt());
        columns << rs->Value(0).toString() + ":" +
                       (length.isNull()               ? QString("-")
                        : characters == NoLengthLimit ? QString("max")
                                                      : QString::number(characters));
    }
    return columns;
}

// The column names each CREATE TABLE of a DDL text declares, by table.
QMap<QString, QStringList> DeclaredColumns(const QString& ddl) {
    QMap<QString, QStringList> tables;
    for (const QString& statement : SplitStatements(ddl)) {
        const QStringList created = CreatedTables({statement});
        if (created.isEmpty()) continue;
        QStringList& columns = tables[created[0].toUpper()];
        for (const QString& line : statement.split('\n').mid(1)) {
            const QString name = line.trimmed().section(' ', 0, 0).toUpper();
            if (!name.isEmpty() && name != ")" && name != "PRIMARY" && name != "CONSTRAINT")
                columns << name;
        }
    }
    return tables;
}

TEST(DemoSchemaDdl, EveryEngineDeclaresTheSameTablesAndColumns) {
    const auto sqlite = DeclaredColumns(DemoSchemaDdl(Engine::SQLite));
    EXPECT_EQ(sqlite.keys(),
              QStringList({"CLUB_MT_MEMBER", "INVT_MT_BOM", "INVT_MT_BOMMASTER", "INVT_MT_CLASS",
                           "INVT_MT_ITEM", "INVT_MT_ITEMGROUP", "INVT_MT_PLU", "LEDG_MT_CREDITOR",
                           "LEDG_MT_DEBTOR", "MT_CLASS", "MT_ITEM", "MT_PLU"}));
    EXPECT_EQ(DeclaredColumns(DemoSchemaDdl(Engine::PostgreSQL)), sqlite);
    EXPECT_EQ(DeclaredColumns(DemoSchemaDdl(Engine::SqlServer)), sqlite);
    for (const QStringList& columns : sqlite) EXPECT_EQ(columns.value(0), "ID");
}

TEST(DemoSchemaDdl, StatementsEndWithTheLineThatEndsInASemicolon) {
    EXPECT_EQ(SplitStatements("-- note\nCREATE TABLE A (\n  X int\n);\n\nCREATE TRIGGER T BEGIN "
                              "UPDATE A SET X = 1; END;\nDROP TABLE B"),
              QStringList({"CREATE TABLE A (\n  X int\n)",
                           "CREATE TRIGGER T BEGIN UPDATE A SET X = 1; END", "DROP TABLE B"}));
    EXPECT_EQ(CreatedTables({"create table  mt_plu (x int)", "CREATE TRIGGER X", "Create Table B"}),
              QStringList({"mt_plu", "B"}));
}

class DbCatalogueTest : public FreshDatabase {
protected:
    void SetUp() override {
        FreshDatabase::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        CreateDemoSchema(*db_);
    }
    const Dialect& dialect() const { return db_->SqlDialect(); }
};

TEST_P(DbCatalogueTest, ListsEveryDeclaredColumnInOrderWithItsCharacterLength) {
    const auto declared = DeclaredColumns(DemoSchemaDdl(dialect().Kind()));
    for (auto it = declared.begin(); it != declared.end(); ++it) {
        QStringList names;
        for (const QString& c : Catalogue(*db_, dialect().ColumnListQuery(it.key(), {})))
            names << c.section(':', 0, 0);
        EXPECT_EQ(names, it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(Catalogue(*db_, dialect().ColumnListQuery("MT_PLU", {})),
              QStringList({"ID:-", "PLUCODE:20", "ITEMCODE:20", "POSDESCRIPTION:40",
                           "POSDESCRIPTION1:40", "POSDESCRIPTION2:40", "POSDESCRIPTION3:40",
                           "BUTTONDESC:20", "UOMQTY:-", "UOM:10", "UNITPRICE:-", "UNITCOST:-",
                           "UNITPRICERCP:-", "DATECREATED:-", "LASTUPDATE:-"}));
}

TEST_P(DbCatalogueTest, TextColumnsWithoutALimitReadAsMax) {
    db_->Execute("Create Table NOTES (CODE varchar(5), BODY text, AMOUNT integer)");
    EXPECT_EQ(Catalogue(*db_, dialect().ColumnListQuery("NOTES", {})),
              QStringList({"CODE:5", "BODY:max", "AMOUNT:-"}));
}

TEST_P(DbCatalogueTest, LeavesOutTheListedColumnsWhateverTheirCase) {
    const QStringList columns =
        Catalogue(*db_, dialect().ColumnListQuery("MT_CLASS", "'classcode','ClassName'"));
    EXPECT_EQ(columns, QStringList({"ID:-", "CLASSTYPECODE:20", "DATECREATED:-", "LASTUPDATE:-"}));
}

// A name goes into the listing as a literal, whatever it holds: a table of
// a hostile name has no columns, a listed hostile name leaves out no column
// but its own, and no statement runs beside the listing. (No statement text
// of SQLite or PostgreSQL can carry a NUL, which no name of theirs holds:
// the list of mapped columns leaves such a name out.)
TEST_P(DbCatalogueTest, NamesInTheListingStayLiterals) {
    for (const HostileName& hostile : HostileNames()) {
        SCOPED_TRACE(hostile.what);
        if (hostile.name.contains(QChar(0))) continue;
        EXPECT_EQ(Catalogue(*db_, dialect().ColumnListQuery(hostile.name, {})), QStringList());
        EXPECT_EQ(Catalogue(*db_, dialect().ColumnListQuery(
                                      "MT_CLASS", SqlLiteral(hostile.name) + ",'ClassName'")),
                  QStringList({"ID:-", "CLASSTYPECODE:20", "CLASSCODE:20", "DATECREATED:-",
                               "LASTUPDATE:-"}));
    }
    EXPECT_EQ(Catalogue(*db_, dialect().ColumnListQuery("MT_PLU", {})).size(), 15);
}

TEST_P(DbCatalogueTest, AUnionReadsTheFirstTableAndThenTheSecond) {
    const QString notIn = "'ID','DATECREATED','LASTUPDATE'";
    const QStringList columns =
        Catalogue(*db_, dialect().ColumnListQuery("INVT_MT_BOMMASTER", notIn) +
                            dialect().UnionAll() + dialect().ColumnListQuery("INVT_MT_PLU", notIn));
    EXPECT_EQ(columns, QStringList({"BOMGROUPCODE:20", "ITEMCODE:20", "ACTUALTOTALBOMCOST:-",
                                    "TOTALBOMCOST:-", "PLUCODE:20", "ITEMCODE:20", "UOM:10",
                                    "UOMQTY:-", "UNITPRICE:-"}));
}

TEST_P(DbCatalogueTest, NamesThePrimaryKeyColumnsInKeyOrder) {
    const struct {
        const char* table;
        QStringList key;
    } cases[] = {
        {"MT_PLU", {"PLUCODE"}},
        {"MT_CLASS", {"CLASSCODE", "CLASSTYPECODE"}},
        {"INVT_MT_BOM", {"BOMGROUPCODE", "BOMITEMCODE", "ITEMCODE"}},
        {"INVT_MT_BOMMASTER", {"BOMGROUPCODE", "ITEMCODE"}},
    };
    for (const auto& c : cases) {
        QStringList key;
        const auto rs = db_->Open(dialect().PrimaryKeyQuery(), {c.table});
        for (; !rs->Eof(); rs->MoveNext()) key << rs->Value(0).toString().toUpper();
        EXPECT_EQ(key, c.key) << c.table;
    }
}

TEST_P(DbCatalogueTest, RefusesADatabaseThatHasAnyOfTheTables) {
    db_->Execute("Drop Table MT_ITEM");
    try {
        CreateDemoSchema(*db_);
        FAIL() << "created twice";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), 2714);
        EXPECT_TRUE(e.Description().contains("MT_PLU")) << e.Description().toStdString();
        EXPECT_FALSE(e.Description().contains(" MT_ITEM,")) << e.Description().toStdString();
    }
    // Nothing was created by the refused call.
    EXPECT_EQ(db_->Open(dialect().ColumnListQuery("MT_ITEM", {}))->RecordCount(), 0);
}

TEST_P(DbCatalogueTest, DroppingTheSchemaLetsItBeCreatedAgain) {
    db_->Execute("Insert Into MT_PLU (PLUCODE) Values ('A')");
    db_->Execute("Drop Table MT_CLASS");
    DropDemoSchema(*db_);
    EXPECT_EQ(db_->Open(dialect().ColumnListQuery("MT_PLU", {}))->RecordCount(), 0);
    CreateDemoSchema(*db_);
    EXPECT_EQ(db_->Open("Select * From MT_PLU")->RecordCount(), 0);
}

INSTANTIATE_ON_EVERY_BACKEND(DbCatalogueTest);

}  // namespace
