// The statement texts and strings the database client builds, without a
// database.
#include <gtest/gtest.h>

#include <QDateTime>

#include "base/AppError.h"
#include "base/Field.h"
#include "database/ColumnTypes.h"
#include "database/ConnectionString.h"
#include "database/Dialect.h"
#include "database/TableQuery.h"

namespace {

const Dialect kSqlServer(Engine::SqlServer);
const Dialect kPostgres(Engine::PostgreSQL);
const Dialect kSqlite(Engine::SQLite);

TEST(SqlServerDialect, ListsTheColumnsOfTheUsersTableOfThatNameOnly) {
    const auto p1 = [](const QString& table) {
        return "Select A.name, A.xtype, A.Length From dbo.syscolumns As A Inner Join "
               "dbo.sysobjects As B ON A.ID=B.ID Where B.ID = Object_Id(N'" +
               table + "', N'U') And B.name = N'" + table + "'";
    };
    EXPECT_EQ(kSqlServer.ColumnListQuery("LEDG_MT_DEBTOR", ""), p1("LEDG_MT_DEBTOR"));
    EXPECT_EQ(kSqlServer.ColumnListQuery("LEDG_MT_DEBTOR", "'DEBTORCODE','GLCODE'"),
              p1("LEDG_MT_DEBTOR") + " And A.name Not In ('DEBTORCODE','GLCODE')");
    EXPECT_EQ(kSqlServer.ColumnListQuery("INVT_MT_ITEM", "") + kSqlServer.UnionAll() +
                  kSqlServer.ColumnListQuery("INVT_MT_PLU", ""),
              p1("INVT_MT_ITEM") + "Union All " + p1("INVT_MT_PLU"));
    // A quote in a name is doubled, on every engine.
    EXPECT_EQ(kSqlServer.ColumnListQuery("MT') ; DROP TABLE MT_PLU; --", ""),
              p1("MT'') ; DROP TABLE MT_PLU; --"));
    EXPECT_TRUE(kPostgres.ColumnListQuery("O'Neil", "").contains("table_name = Lower('O''Neil')"));
    EXPECT_TRUE(kSqlite.ColumnListQuery("O'Neil", "").contains("pragma_table_info('O''Neil')"));
}

TEST(Dialect, QuotesIdentifiersAsEachEngineDoes) {
    const struct {
        const Dialect& dialect;
        const char* identifier;
        const char* quoted;
    } cases[] = {
        {kSqlServer, "MT_PLU", "[MT_PLU]"},  {kSqlServer, "A]B", "[A]]B]"},
        {kPostgres, "MT_PLU", "\"mt_plu\""}, {kPostgres, "a\"b", "\"a\"\"b\""},
        {kSqlite, "MT_PLU", "\"MT_PLU\""},   {kSqlite, "a\"b", "\"a\"\"b\""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.dialect.Quote(c.identifier), c.quoted) << c.identifier;
}

TEST(Dialect, CountsCharactersWhereSqlServerReportsBytes) {
    const struct {
        const Dialect& dialect;
        int reported;
        int xtype;
        int characters;
    } cases[] = {
        {kSqlServer, 40, 231, 20},           // nvarchar
        {kSqlServer, 20, 239, 10},           // nchar
        {kSqlServer, 40, 167, 40},           // varchar
        {kSqlServer, 4, 56, NoLengthLimit},  // int: its storage size
        {kSqlServer, 8, 61, NoLengthLimit},  // datetime
        {kSqlServer, -1, 231, NoLengthLimit},
        {kSqlServer, 16, 35, NoLengthLimit},  // text: 16 is a pointer's size
        {kSqlServer, 16, 99, NoLengthLimit},  // ntext
        {kPostgres, 40, 0, 40},
        {kPostgres, -1, 0, NoLengthLimit},
        {kSqlite, 231, 231, 231},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dialect.CharacterLength(c.reported, c.xtype), c.characters)
            << c.reported << " " << c.xtype;
}

TEST(Dialect, ShowsFoldedPostgresNamesInUpperCase) {
    EXPECT_EQ(kPostgres.FieldName("plucode"), "PLUCODE");
    EXPECT_EQ(kPostgres.FieldName("TILL-Code"), "TILL-Code");
    EXPECT_EQ(kSqlite.FieldName("PluCode"), "PluCode");
    EXPECT_EQ(kSqlServer.FieldName("plucode"), "plucode");
}

// SQLite stores dates as the text its date functions read; the text is
// written by hand for the usual years and by Qt's formatter for the rest.
TEST(Dialect, WritesDatesForSqliteAsQtsFormatterDoes) {
    const QList<QVariant> values{
        QDate(2024, 2, 29),
        QDate(1, 1, 1),
        QDate(9999, 12, 31),
        QDate(10000, 1, 1),
        QDate(-44, 3, 15),
        QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59), Qt::UTC),
        QDateTime(QDate(1899, 12, 30), QTime(0, 0, 7, 500), Qt::UTC),
        QDateTime(QDate(12345, 6, 7), QTime(8, 9, 10), Qt::UTC),
    };
    for (const QVariant& v : values) {
        const QString expected = v.typeId() == QMetaType::QDate
                                     ? v.toDate().toString("yyyy-MM-dd")
                                     : v.toDateTime().toString("yyyy-MM-dd HH:mm:ss");
        EXPECT_EQ(kSqlite.Rebound(v).value_or(QVariant()).toString(), expected)
            << expected.toStdString();
        EXPECT_FALSE(kPostgres.Rebound(v).has_value());
    }
}

TEST(TableQuery, SplitsASelectItemIntoColumnAndName) {
    const struct {
        const char* item;
        const char* column;
        const char* name;
    } cases[] = {
        {"ITEMCODE", "ITEMCODE", "ITEMCODE"},
        {"ITEMCODE As PLUCODE", "ITEMCODE", "PLUCODE"},
        {" ITEMCODE AS PLUCODE ", "ITEMCODE", "PLUCODE"},
        {"itemcode as plucode", "itemcode", "plucode"},
        {"BASEDMEASURE", "BASEDMEASURE", "BASEDMEASURE"},
    };
    for (const auto& c : cases) {
        const SelectItem item = ParseSelectItem(c.item);
        EXPECT_EQ(item.column, c.column) << c.item;
        EXPECT_EQ(item.name, c.name) << c.item;
    }
}

TEST(TableQuery, BuildsStatementsWithQuotedNamesAndBoundValues) {
    const SqlCall select = SelectCall(kSqlServer, {"MT_ITEM",
                                                   {"ITEMCODE", "ITEMCODE As PLUCODE"},
                                                   {{"ITEMCODE", "O'N"}, {"REFCODE", QVariant()}}});
    EXPECT_EQ(select.sql,
              "Select [ITEMCODE], [ITEMCODE] As [PLUCODE] From [MT_ITEM] Where [ITEMCODE] = ? "
              "And [REFCODE] Is Null");
    EXPECT_EQ(select.params, QVariantList({"O'N"}));
    EXPECT_EQ(SelectCall(kPostgres, {"MT_PLU", {}, {}}).sql, "Select * From \"mt_plu\"");

    EXPECT_EQ(InsertSql(kSqlite, "MT_PLU", {"PLUCODE", "UOMQTY"}),
              "Insert Into \"MT_PLU\" (\"PLUCODE\", \"UOMQTY\") Values (?, ?)");
    EXPECT_EQ(InsertSql(kSqlite, "MT_PLU", {}), "Insert Into \"MT_PLU\" Default Values");
    EXPECT_EQ(UpdateSql(kPostgres, "MT_CLASS", {"CLASSNAME"},
                        {{"CLASSCODE", "C"}, {"CLASSTYPECODE", QVariant()}}),
              "Update \"mt_class\" Set \"classname\" = ? Where \"classcode\" = ? And "
              "\"classtypecode\" Is Null");
}

TEST(TableQuery, CopiesColumnsFromOneRecordWithAStatementEachEngineTakes) {
    const KeyedRecord item{"Mt_Item", "ItemCode", "I1"};
    const Criteria where{{"ItemCode", "I1"}, {"UOMQty", 1}};
    EXPECT_EQ(CopyColumnsSql(kSqlServer, "Mt_Plu", where, item, {"UOM", "Cost"}),
              "Update [Mt_Plu] Set [UOM] = (Select [UOM] From [Mt_Item] Where [ItemCode] = ?), "
              "[Cost] = (Select [Cost] From [Mt_Item] Where [ItemCode] = ?) Where [ItemCode] = ? "
              "And [UOMQty] = ? And Exists (Select 1 From [Mt_Item] Where [ItemCode] = ?)");
    EXPECT_EQ(CopyColumnsParams(kSqlServer, where, item, {"UOM", "Cost"}),
              (QVariantList{"I1", "I1", "I1", 1, "I1"}));
    EXPECT_EQ(CopyColumnsSql(kSqlite, "Mt_Plu", where, item, {"UOM", "Cost"}),
              "Update \"Mt_Plu\" Set (\"UOM\", \"Cost\") = (Select \"UOM\", \"Cost\" From "
              "\"Mt_Item\" Where \"ItemCode\" = ?) Where \"ItemCode\" = ? And \"UOMQty\" = ? And "
              "Exists (Select 1 From \"Mt_Item\" Where \"ItemCode\" = ?)");
    EXPECT_EQ(CopyColumnsParams(kPostgres, where, item, {"UOM", "Cost"}),
              (QVariantList{"I1", "I1", 1, "I1"}));
}

TEST(ColumnTypes, MapsEachEnginesTypeNamesToTypeCodes) {
    const struct {
        const char* name;
        int odbcType;
        int code;
    } cases[] = {
        {"int", 4, TypeCode::Integer},
        {"int identity", 4, TypeCode::Integer},
        {"int4", 4, TypeCode::Integer},
        {"INTEGER", 0, TypeCode::BigInt},  // SQLite's integers have 64 bits
        {"numeric", 2, TypeCode::Numeric},
        {"NUMERIC(18,4)", 0, TypeCode::Numeric},
        {"decimal() identity", 3, TypeCode::Numeric},
        {"nvarchar", -9, TypeCode::VarWChar},
        {"VARCHAR(20)", 0, TypeCode::VarWChar},
        {"text", -1, TypeCode::VarWChar},
        {"character varying", 12, TypeCode::VarWChar},
        {"float8", 8, TypeCode::Double},
        {"float", 6, TypeCode::Double},
        {"datetime", 93, TypeCode::Date},
        {"timestamp", 93, TypeCode::Date},
        {"timestamp", -2, TypeCode::Binary},  // SQL Server's row version
        {"rowversion", -2, TypeCode::Binary},
        {"hierarchyid", -3, TypeCode::VarBinary},
        {"xml", -152, TypeCode::VarWChar},  // unknown name and ODBC type: text
        {"sql_variant", -150, TypeCode::VarWChar},
        {"smalldatetime", 93, TypeCode::Date},
        {"smallint", 5, TypeCode::SmallInt},
        {"bigint", -5, TypeCode::BigInt},
        {"bit", -7, TypeCode::Boolean},
        {"bool", -7, TypeCode::Boolean},
        {"real", 7, TypeCode::Single},
        {"money", 3, TypeCode::Currency},
        {"smallmoney", 3, TypeCode::Currency},
        {"char", 1, TypeCode::Char},
        {"bpchar", 1, TypeCode::Char},
        {"nchar", -8, TypeCode::WChar},
        {"ntext", -10, TypeCode::LongVarWChar},
        {"uniqueidentifier", -11, TypeCode::Guid},
        {"tinyint", -6, TypeCode::UnsignedTinyInt},
        {"a_domain", 4, TypeCode::Integer},         // unknown name: the ODBC type
        {"UNSIGNED BIG INT", 0, TypeCode::BigInt},  // SQLite's affinity rules
        {"NATIVE CHARACTER(70)", 0, TypeCode::VarWChar},
        {"DOUBLE PRECISION", 0, TypeCode::Double},
        {"BOOLEAN", 0, TypeCode::Boolean},
        {"", 0, TypeCode::VarWChar},
        {"SOMETHING", 0, TypeCode::Numeric},
    };
    for (const auto& c : cases) EXPECT_EQ(TypeCodeOf(c.name, c.odbcType), c.code) << c.name;
}

TEST(ConnectionString, BracesEverySqlServerValueAndEndsWithASemicolon) {
    const struct {
        const char* server;
        const char* database;
        const char* user;
        const char* password;
        const char* expected;
    } cases[] = {
        {"S1", "D1", "U1", "secret",
         "Driver={SQL Server};Server={S1};Database={D1};Uid={U1};Pwd={secret};"},
        {"srv\\INST", "TILL DEMO", "sa", "",
         "Driver={SQL Server};Server={srv\\INST};Database={TILL DEMO};Uid={sa};Pwd={};"},
        {"S1", "D1", "U1", "p;w=1",
         "Driver={SQL Server};Server={S1};Database={D1};Uid={U1};Pwd={p;w=1};"},
        {"S1", "D1", " u ", "  {x ",
         "Driver={SQL Server};Server={S1};Database={D1};Uid={ u };Pwd={  {x };"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SqlServerConnectionString(c.server, c.database, c.user, c.password), c.expected)
            << c.expected;
}

TEST(ConnectionString, RefusesACloseBraceTheSqlServerDriverCannotReceive) {
    const struct {
        const char* server;
        const char* database;
        const char* user;
        const char* password;
        const char* field;
    } cases[] = {
        {"S}", "D", "U", "P", "Server Name"},
        {"S", "D}", "U", "P", "Database Name"},
        {"S", "D", "U}", "P", "User ID"},
        {"S", "D", "U", "a}}b", "Password"},
    };
    for (const auto& c : cases) {
        try {
            SqlServerConnectionString(c.server, c.database, c.user, c.password);
            ADD_FAILURE() << c.field << ": no refusal";
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().startsWith(QString("The ") + c.field + " cannot hold"))
                << e.Description().toStdString();
        }
    }
}

// A password from outside the string goes into it only where it holds
// none: a value between braces may hold "Pwd=" and ";" without being one.
TEST(ConnectionString, FindsAPasswordOfItsOwnAndAddsOneWhereItHasNone) {
    const struct {
        const char* string;
        bool holds;
        const char* withPassword;  // with the password "p;w" added
    } cases[] = {
        {"Driver={X};Uid=u;Pwd=secret;", true, nullptr},
        {"Driver={X};Uid=u; pwd = secret", true, nullptr},
        {"Driver={X};Password={a;b}", true, nullptr},
        {"Driver={X};Uid=u;", false, "Driver={X};Uid=u;Pwd={p;w};"},
        {"Driver={X};Uid=u", false, "Driver={X};Uid=u;Pwd={p;w};"},
        {"Driver={X};Uid={Pwd=a;b}};c};Server=s", false,
         "Driver={X};Uid={Pwd=a;b}};c};Server=s;Pwd={p;w};"},
        {"DSN=till;;Uid=u;", false, "DSN=till;;Uid=u;Pwd={p;w};"},
        {"", false, "Pwd={p;w};"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.string);
        EXPECT_EQ(HoldsPassword(c.string), c.holds);
        if (c.withPassword) {
            EXPECT_EQ(WithPassword(c.string, "p;w"), c.withPassword);
        }
    }
}

TEST(ConnectionString, BuildsThePostgresStringAndTheTargets) {
    EXPECT_EQ(PostgreSqlConnectionString("db.local:5433", "till", "me", "p;w"),
              "Driver={PostgreSQL Unicode};Server=db.local;Port=5433;Database=till;Uid=me;"
              "Pwd={p;w};Protocol=7.4-0;");
    EXPECT_EQ(PostgreSqlConnectionString("db.local", "till", "me", "pw"),
              "Driver={PostgreSQL Unicode};Server=db.local;Database=till;Uid=me;Pwd=pw;"
              "Protocol=7.4-0;");
    EXPECT_EQ(OdbcTarget("Driver={X}"), "odbc:Driver={X}");
    EXPECT_EQ(SqliteTarget("/tmp/till.db"), "sqlite:/tmp/till.db");
}

TEST(ConnectionString, TheTestServerStringIsBuiltAsTheProgramBuildsIt) {
    const QString target = qEnvironmentVariable("XLSLOAD_TEST_PG");
    if (target.isEmpty()) GTEST_SKIP() << "XLSLOAD_TEST_PG is not set";
    const QString port = target.section("Port=", 1).section(';', 0, 0);
    EXPECT_EQ(target, OdbcTarget(PostgreSqlConnectionString("127.0.0.1:" + port, "xlsload_test",
                                                            "xlsload", "xlsload")));
}

}  // namespace
