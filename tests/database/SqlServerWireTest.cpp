// What the program sends to SQL Server, seen at the wire: a scripted TDS
// endpoint on 127.0.0.1 logs the login, the statements and the types of
// their values. It is not SQL Server; these tests check what the client
// sends, not how a server answers.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "TdsCapture.h"
#include "base/AppError.h"
#include "base/Field.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"

namespace {

std::unique_ptr<DbConnection> ConnectTo(const TdsCapture& server, int timeoutSeconds = 60,
                                        const QString& database = "till",
                                        const QString& password = "plain") {
    return DbConnection::Connect(
        OdbcTarget(SqlServerConnectionString(server.Server(), database, "sa", password)),
        DbConnection::SqliteFile::MustExist, timeoutSeconds);
}

QStringList LinesOf(const QString& log, const QString& kind) {
    QStringList lines;
    for (const QString& line : log.split('\n'))
        if (line.contains(" " + kind + " ")) lines << line;
    return lines;
}

TEST(SqlServerWire, LoginValuesArriveExactlyAsTyped) {
    SKIP_WITHOUT_TDS_CAPTURE();
    const struct {
        const char* database;
        const char* password;
    } cases[] = {
        {"till", "plain"}, {"TILL DEMO", "p;w=1"}, {"till;x", " edge "},
        {"till", "{x"},    {"till", ""},           {"till", "pässwörd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        TdsCapture server;
        ASSERT_TRUE(server.Listening());
        ConnectTo(server, 60, QString::fromUtf8(c.database), QString::fromUtf8(c.password));
        const QString log = server.Log();
        EXPECT_TRUE(log.contains("password='" + QString::fromUtf8(c.password) + "'\n"))
            << log.toStdString();
        EXPECT_TRUE(log.contains("database='" + QString::fromUtf8(c.database) + "'\n"));
    }
}

TEST(SqlServerWire, TextGoesAsNvarcharAndComesBackWhateverTheCollation) {
    SKIP_WITHOUT_TDS_CAPTURE();
    const QStringList names{QString::fromUtf8("สมชาย ใจดี"),
                            QString::fromUtf8("Γιώργος Παπαδόπουλος"),
                            QString::fromUtf8("Zoë Müller-Łukasz")};
    QTemporaryDir dir;
    const QString schema =
        TdsCapture::EditedSchema(dir, {{"MEMBERNAME varchar(100)", "MEMBERNAME nvarchar(100)"}});
    for (const char* collation : {"0904d00034", "1e04d00000"}) {  // Latin1, Thai
        SCOPED_TRACE(collation);
        TdsCapture server({"--coll", collation, "--schema", schema});
        ASSERT_TRUE(server.Listening());
        const auto db = ConnectTo(server);
        for (int i = 0; i < names.size(); ++i) {
            const QString code = QString("M%1").arg(i);
            db->Execute("Insert Into [CLUB_MT_MEMBER] ([MEMBERCODE], [MEMBERNAME]) Values (?, ?)",
                        {code, names[i]});
            const auto rs = db->Open(
                "Select [MEMBERCODE], [MEMBERNAME] From [CLUB_MT_MEMBER] Where [MEMBERCODE] = ?",
                {code});
            ASSERT_EQ(rs->RecordCount(), 1);
            EXPECT_EQ(rs->Value("MEMBERNAME").toString(), names[i]);
        }
        // A plain ASCII code goes as varchar, so that a varchar key's index
        // can be sought; a text beyond ASCII never does.
        const QString rpc = LinesOf(server.Log(), "RPC").join('\n');
        for (const QString& name : names)
            EXPECT_TRUE(rpc.contains("\"type\": \"nvarchar(8000)\", \"value\": \"" + name + "\""))
                << name.toStdString();
        EXPECT_TRUE(rpc.contains("\"type\": \"varchar(8000)\", \"value\": \"M0\""))
            << rpc.toStdString();
        EXPECT_FALSE(server.SentNarrowTextBeyondAscii()) << rpc.toStdString();
    }
}

// A statement run again and again is prepared once and then only executed:
// its values' bindings are kept, whatever each run's values (a null, a
// longer text up to 255 characters, another number), so that the driver never
// sends its text and declarations again.
TEST(SqlServerWire, AStatementIsPreparedOnceAndRunByItsHandle) {
    SKIP_WITHOUT_TDS_CAPTURE();
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    const auto db = ConnectTo(server);
    const QString insert =
        "Insert Into [CLUB_MT_MEMBER] ([MEMBERCODE], [MEMBERNAME], [POINTS]) Values (?, ?, ?)";
    const QList<QVariantList> runs{
        {"M1", "Ann", 10},
        {"M2", QVariant(QMetaType(QMetaType::QString)), QVariant(QMetaType(QMetaType::Int))},
        {"M3", QString(255, 'x'), 2000000000},
        {"M4", "", -1},
    };
    for (const QVariantList& values : runs) db->Execute(insert, values);
    const QString log = server.Log();
    EXPECT_EQ(LinesOf(log, "RPC sp_prepexec").size(), 1) << log.toStdString();
    EXPECT_EQ(LinesOf(log, "RPC sp_execute").size(), 3) << log.toStdString();
    EXPECT_EQ(LinesOf(log, "RPC sp_unprepare").size(), 0) << log.toStdString();
    EXPECT_TRUE(log.contains("\"value\": \"" + QString(255, 'x') + "\"")) << log.toStdString();
}

TEST(SqlServerWire, EachColumnTypeArrivesThroughFreeTdsWithItsKindAndLimits) {
    SKIP_WITHOUT_TDS_CAPTURE();
    // The endpoint's TYPES table has a column of each type, named after it.
    // FreeTDS calls a smalldatetime "datetime" and a smallmoney "money":
    // their sizes must still give their own limits.
    const struct {
        const char* column;
        int type;
        int precision, scale;
        const char* days;  // earliest..latest, empty for any
    } cases[] = {
        {"TINYINT", TypeCode::UnsignedTinyInt, 0, 0, ""},
        {"SMALLINT", TypeCode::SmallInt, 0, 0, ""},
        {"INT", TypeCode::Integer, 0, 0, ""},
        {"BIGINT", TypeCode::BigInt, 0, 0, ""},
        {"BIT", TypeCode::Boolean, 0, 0, ""},
        {"NUMERIC_18_4", TypeCode::Numeric, 18, 4, ""},
        {"DECIMAL_18_4", TypeCode::Numeric, 18, 4, ""},
        {"MONEY", TypeCode::Currency, 19, 4, ""},
        {"SMALLMONEY", TypeCode::Currency, 10, 4, ""},
        {"FLOAT", TypeCode::Double, 0, 0, ""},
        {"REAL", TypeCode::Single, 0, 0, ""},
        {"DATETIME", TypeCode::Date, 0, 0, "1753-01-01..9999-12-31"},
        {"SMALLDATETIME", TypeCode::Date, 0, 0, "1900-01-01..2079-06-06"},
        {"DATE", TypeCode::Date, 0, 0, ""},
        {"NVARCHAR_10", TypeCode::VarWChar, 0, 0, ""},
    };
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    const auto rs = ConnectTo(server)->Open("Select * From [TYPES]");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        const int at = rs->IndexOf(c.column);
        ASSERT_GE(at, 0);
        EXPECT_EQ(rs->FieldAt(at).type, c.type);
        const ColumnLimits& limits = rs->FieldAt(at).limits;
        EXPECT_EQ(limits.precision, c.precision);
        EXPECT_EQ(limits.scale, c.scale);
        const QString days = limits.earliest.isNull() && limits.latest.isNull()
                                 ? QString()
                                 : limits.earliest.toString(Qt::ISODate) + ".." +
                                       limits.latest.toString(Qt::ISODate);
        EXPECT_EQ(days.toStdString(), c.days);
    }
}

TEST(SqlServerWire, AnUnansweredStatementTimesOutAndTheConnectionOpensAgain) {
    SKIP_WITHOUT_TDS_CAPTURE();
    TdsCapture server({"--hang-on", "Update [MT_ITEM]"});
    ASSERT_TRUE(server.Listening());
    const auto db = ConnectTo(server, 1);
    EXPECT_TRUE(server.Log().contains("BATCH \"SET LOCK_TIMEOUT 1000\""));
    QElapsedTimer clock;
    clock.start();
    try {
        db->Execute("Update [MT_ITEM] Set [ITEMNAME] = ? Where [ITEMCODE] = ?", {"a", "b"});
        ADD_FAILURE() << "the statement was answered";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.Description().contains("timed out waiting for the server"))
            << e.Description().toStdString();
    }
    EXPECT_LT(clock.elapsed(), 15000);
    // The next statement runs on a connection opened again.
    EXPECT_EQ(db->Open("Select [ITEMCODE] From [MT_ITEM]")->RecordCount(), 0);
    EXPECT_EQ(LinesOf(server.Log(), "LOGIN7").size(), 4);  // two logins, two lines each
}

TEST(SqlServerWire, StatementsWithoutValuesOpenNoServerCursor) {
    SKIP_WITHOUT_TDS_CAPTURE();
    TdsCapture server;
    ASSERT_TRUE(server.Listening());
    const auto db = ConnectTo(server);
    db->Open("Select [ITEMCODE] From [MT_ITEM]");
    db->Execute("Update [MT_ITEM] Set [ITEMNAME] = 'x'");
    const QString log = server.Log();
    EXPECT_TRUE(log.contains("BATCH \"Select [ITEMCODE] From [MT_ITEM]\""));
    EXPECT_TRUE(log.contains("BATCH \"Update [MT_ITEM] Set [ITEMNAME] = 'x'\""));
    // Only the driver's own set-up at login goes through a cursor.
    for (const QString& line : LinesOf(log, "RPC")) {
        if (line.contains("sp_cursoropen")) {
            EXPECT_TRUE(line.contains("SET QUOTED_IDENTIFIER ON")) << line.toStdString();
        }
    }
}

}  // namespace
