#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "DbTestSupport.h"
#include "QStringPrinter.h"
#include "base/AppError.h"
#include "base/Field.h"
#include "database/ConnectionString.h"
#include "database/DemoSchema.h"

namespace {

// A column type on each engine (nullptr: the engine has no such type), the
// type code it reads as, a literal of it and the value read from it.
struct ColumnType {
    const char* sqlite;
    const char* postgres;
    int code;
    const char* literal;
    QVariant value;
};

const QDateTime kStamp(QDate(2024, 1, 2), QTime(3, 4, 5));

const ColumnType kColumnTypes[] = {
    {"INTEGER", nullptr, TypeCode::BigInt, "42", 42},  // SQLite's integers have 64 bits
    {nullptr, "integer", TypeCode::Integer, "42", 42},
    {"SMALLINT", "smallint", TypeCode::SmallInt, "7", 7},
    {"BIGINT", "bigint", TypeCode::BigInt, "9000000000", 9000000000LL},
    {"NUMERIC(18,4)", "numeric(18,4)", TypeCode::Numeric, "1.5", 1.5},
    {"DECIMAL(10,2)", "decimal(10,2)", TypeCode::Numeric, "2.25", 2.25},
    {"REAL", "real", TypeCode::Single, "0.5", 0.5},
    {"DOUBLE", "double precision", TypeCode::Double, "0.25", 0.25},
    {"FLOAT", "float8", TypeCode::Double, "0.75", 0.75},
    {"MONEY", "money", TypeCode::Currency, "3.75", 3.75},
    {"VARCHAR(20)", "varchar(20)", TypeCode::VarWChar, "'abc'", "abc"},
    {"NVARCHAR(20)", nullptr, TypeCode::VarWChar, "'abc'", "abc"},
    {"TEXT", "text", TypeCode::VarWChar, "'long text'", "long text"},
    {"CHAR(3)", "char(3)", TypeCode::Char, "'xyz'", "xyz"},
    {"NCHAR(3)", nullptr, TypeCode::WChar, "'xyz'", "xyz"},
    {"DATETIME", "timestamp", TypeCode::Date, "'2024-01-02 03:04:05'", kStamp},
    {"DATE", "date", TypeCode::Date, "'2024-01-02'", QDateTime(QDate(2024, 1, 2), QTime(0, 0))},
    {"TIME", "time", TypeCode::DBTime, "'03:04:05'",
     QDateTime(QDate(1899, 12, 30), QTime(3, 4, 5))},
    {"BOOLEAN", "boolean", TypeCode::Boolean, "true", true},
    {nullptr, "uuid", TypeCode::Guid, "'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'",
     "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11"},
    {"BLOB", "bytea", TypeCode::VarBinary, nullptr, {}},
};

class DbTypesTest : public FreshDatabase {};

TEST_P(DbTypesTest, EachColumnTypeReadsWithItsTypeCodeAndValue) {
    const bool sqlite = GetParam() == Backend::SQLite;
    QVector<const ColumnType*> used;
    QStringList columns{"K INTEGER"}, literals{"1"};
    for (const ColumnType& c : kColumnTypes) {
        const char* type = sqlite ? c.sqlite : c.postgres;
        if (!type) continue;
        used << &c;
        columns << QString("C%1 %2").arg(used.size()).arg(type);
        literals << (c.literal ? c.literal : "NULL");
    }
    db_->Execute("Create Table TYPED (" + columns.join(", ") + ")");
    db_->Execute("Insert Into TYPED Values (" + literals.join(", ") + ")");
    db_->Execute("Insert Into TYPED (K) Values (2)");

    const auto rs = db_->Open("Select * From TYPED Order By K");
    const auto empty = db_->Open("Select * From TYPED Where K = 0");
    ASSERT_EQ(rs->RecordCount(), 2);
    for (int i = 0; i < used.size(); ++i) {
        const ColumnType& c = *used[i];
        const std::string type = sqlite ? c.sqlite : c.postgres;
        EXPECT_EQ(rs->FieldAt(i + 1).type, c.code) << type;
        EXPECT_EQ(empty->FieldAt(i + 1).type, c.code) << type << " without rows";
        EXPECT_EQ(rs->Value(i + 1), c.value)
            << type << " reads " << rs->Value(i + 1).toString().toStdString();
    }
    rs->MoveNext();
    for (int i = 1; i < rs->FieldCount(); ++i) EXPECT_TRUE(rs->Value(i).isNull());
}

// Values longer than one read of the driver's, and than one text type of
// SQL Server's parameters (4,000 characters), go and come back whole.
TEST_P(DbTypesTest, LongTextsAndBytesGoAndComeBackWhole) {
    const bool sqlite = GetParam() == Backend::SQLite;
    db_->Execute(
        QString("Create Table LONGS (K INTEGER, T TEXT, B %1)").arg(sqlite ? "BLOB" : "bytea"));
    const QString text = QString::fromUtf8("Käse ").repeated(3001);  // 15,005 characters
    QByteArray bytes(20000, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i % 251);
    db_->Execute("Insert Into LONGS (K, T, B) Values (?, ?, ?)", {1, text, bytes});
    const auto rs = db_->Open("Select T, B From LONGS Where K = ?", {1});
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Value(0).toString(), text);
    EXPECT_EQ(rs->Value(1).toByteArray(), bytes);
}

// ASCII and other texts bound side by side in one statement each come back
// as they went, also where they fill more than the room kept for texts.
TEST_P(DbTypesTest, TextsOfEveryKindInOneStatementComeBackAsTheyWent) {
    db_->Execute("Create Table TEXTS (K INTEGER, T VARCHAR(400000))");
    const QStringList texts{"plain",
                            QString::fromUtf8("Käse"),
                            "",
                            QString::fromUtf8("日本の"),
                            "tab\there",
                            QString::fromUtf8("€"),
                            QString(300000, u'a'),
                            "x",
                            QString::fromUtf8("Käse ").repeated(60000),
                            "y"};
    QVariantList params;
    QStringList tuples;
    for (int i = 0; i < texts.size(); ++i) {
        params << i << texts[i];
        tuples << "(?, ?)";
    }
    db_->Execute("Insert Into TEXTS (K, T) Values " + tuples.join(", "), params);
    QStringList back;
    for (const auto rs = db_->Open("Select T From TEXTS Order By K"); !rs->Eof(); rs->MoveNext())
        back << rs->Value(0).toString();
    EXPECT_EQ(back, texts);
}

INSTANTIATE_ON_EVERY_BACKEND(DbTypesTest);

// A failure and what each engine's driver says of it: its native number
// and a part of its text. psqlODBC numbers every error the server reports 1.
struct Failure {
    const char* name;
    std::function<void(DbConnection&)> cause;
    qint32 sqliteNumber;
    const char* sqliteText;
    qint32 postgresNumber;
    const char* postgresText;
};

void AddPlu(DbConnection& db, const char* plu) {
    const auto rs = db.OpenTable({"MT_PLU", {}, {{"PLUCODE", plu}}});
    rs->AddNew();
    rs->SetValue("PLUCODE", plu);
    rs->Update();
}

const Failure kFailures[] = {
    {"BadStatement", [](DbConnection& db) { db.Open("Selec PLUCODE From MT_PLU"); }, 1,
     "syntax error", 1, "syntax error"},
    {"BadStatementWithValues",
     [](DbConnection& db) { db.Execute("Updat MT_PLU Set UOMQTY = ?", {1}); }, 1, "syntax error", 1,
     "syntax error"},
    {"MissingTable", [](DbConnection& db) { db.Open("Select * From NO_SUCH_TABLE"); }, 1,
     "no such table", 1, "does not exist"},
    {"DuplicateKey",
     [](DbConnection& db) {
         AddPlu(db, "A");
         AddPlu(db, "A");
     },
     1555, "UNIQUE constraint failed", 1, "duplicate key value violates unique constraint"},
    {"MissingKey",
     [](DbConnection& db) {
         const auto rs = db.OpenTable({"MT_PLU", {}, {{"PLUCODE", "none"}}});
         rs->AddNew();
         rs->SetValue("ITEMCODE", "I1");
         rs->Update();
     },
     1299, "NOT NULL constraint failed", 1, "null value in column"},
};

class DbFailureTest : public FreshDatabase {};

TEST_P(DbFailureTest, EachFailureArrivesWithTheDriversNumberAndText) {
    const bool sqlite = GetParam() == Backend::SQLite;
    CreateDemoSchema(*db_);
    for (const Failure& f : kFailures) {
        try {
            f.cause(*db_);
            ADD_FAILURE() << f.name << ": no error";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number(), sqlite ? f.sqliteNumber : f.postgresNumber) << f.name;
            EXPECT_TRUE(e.Description().contains(sqlite ? f.sqliteText : f.postgresText,
                                                 Qt::CaseInsensitive))
                << f.name << ": " << e.Description().toStdString();
        }
    }
    // The connection stays usable after its failures.
    EXPECT_EQ(db_->Open("Select PLUCODE From MT_PLU")->RecordCount(), 1);
}

TEST_P(DbFailureTest, ARefusedConnectionArrivesWithTheDriversNumberAndText) {
    QString target;
    qint32 number = 0;
    QString text;
    if (GetParam() == Backend::SQLite) {
        target = SqliteTarget(QDir::temp().filePath("xlsload-no-such-dir/none.db"));
        number = ErrorNumber::PathNotFound;
        text = "does not exist";
    } else {
        const QString port = QRegularExpression("Port=(\\d+)")
                                 .match(qEnvironmentVariable("XLSLOAD_TEST_PG"))
                                 .captured(1);
        target = OdbcTarget(PostgreSqlConnectionString("127.0.0.1:" + port, "xlsload_test",
                                                       "xlsload", "wrong password"));
        number = 101;
        text = "password authentication failed";
    }
    try {
        DbConnection::Connect(target);
        FAIL() << "connected";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), number);
        EXPECT_TRUE(e.Description().contains(text)) << e.Description().toStdString();
        EXPECT_FALSE(e.Description().contains("wrong password"));
    }
}

// A record another session holds locked is waited for as long as the
// connection's timeout, then the statement fails saying so; the connection
// is fit for the next statement.
TEST_P(DbFailureTest, ALockHeldElsewhereIsWaitedForOnlyAsLongAsTheTimeout) {
    CreateDemoSchema(*db_);
    AddPlu(*db_, "A");
    const auto waiting = Reconnect(1);
    QElapsedTimer clock;
    db_->RunInTransaction([&] {
        db_->Execute("Update MT_PLU Set UOMQTY = 2 Where PLUCODE = 'A'");
        clock.start();
        try {
            waiting->Execute("Update MT_PLU Set UOMQTY = 3 Where PLUCODE = 'A'");
            ADD_FAILURE() << "the locked record was written";
        } catch (const AppError& e) {
            EXPECT_TRUE(e.Description().contains(GetParam() == Backend::PostgreSQL
                                                     ? "timed out waiting for the server"
                                                     : "timed out waiting for another connection"))
                << e.Description().toStdString();
        }
    });
    EXPECT_LT(clock.elapsed(), 4000);  // a timeout of 1 s, not the server's or SQLite's own
    EXPECT_EQ(waiting->Open("Select UOMQTY From MT_PLU")->Value(0).toInt(), 2);
}

// A transaction that reads and then writes, begun while another connection
// holds a write on the same record, waits for that write to end as long as
// its timeout allows instead of failing at once; past it, it fails naming
// the wait and the other write stands.
TEST_P(DbFailureTest, ATransactionThatReadsThenWritesWaitsForAnotherWriter) {
    CreateDemoSchema(*db_);
    AddPlu(*db_, "A");
    const struct {
        const char* name;
        int timeoutSeconds;
        bool released;  // the other write ends after 1.5 s; else once this one gave up
        int uomQty;
    } kCases[] = {
        {"released while waited for", kDefaultStatementTimeout, true, 12},
        {"held past the timeout", 1, false, 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        db_->Execute("Update MT_PLU Set UOMQTY = 1");
        std::promise<void> holding;
        std::promise<void> gaveUp;
        QString otherFailure;
        std::thread other([&] {
            bool held = false;
            try {
                const auto writer = Reconnect();
                writer->RunInTransaction([&] {
                    writer->Execute("Update MT_PLU Set UOMQTY = 2 Where PLUCODE = 'A'");
                    held = true;
                    holding.set_value();
                    if (c.released)
                        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                    else
                        gaveUp.get_future().wait();
                });
            } catch (const AppError& e) {
                otherFailure = e.Description();
                if (!held) holding.set_value();
            }
        });
        holding.get_future().wait();
        const auto waiting = Reconnect(c.timeoutSeconds);
        QString failure;
        try {
            waiting->RunInTransaction([&] {
                waiting->Open("Select UOMQTY From MT_PLU Where PLUCODE = 'A'");
                waiting->Execute("Update MT_PLU Set UOMQTY = UOMQTY + 10 Where PLUCODE = 'A'");
            });
        } catch (const AppError& e) {
            failure = e.Description();
        }
        if (!c.released) gaveUp.set_value();
        other.join();
        ASSERT_EQ(otherFailure, "");
        if (c.released) {
            EXPECT_EQ(failure, "");
        } else {
            EXPECT_TRUE(failure.contains("timed out waiting")) << failure.toStdString();
            EXPECT_TRUE(failure.contains("(1 s)")) << failure.toStdString();
        }
        EXPECT_EQ(db_->Open("Select UOMQTY From MT_PLU")->Value(0).toInt(), c.uomQty);
    }
}

INSTANTIATE_ON_EVERY_BACKEND(DbFailureTest);

}  // namespace
