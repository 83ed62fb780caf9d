// An import whose PostgreSQL server goes away half-way: the failure is
// reported, what was saved stays, and the same import run again ends where
// an uninterrupted one does. The test stops the shared test server, so its
// program runs alone.
#include <QRegularExpression>
#include <cstdlib>
#include <thread>

#include "FormFixture.h"
#include "database/DemoSchema.h"

namespace {

constexpr int kRows = 3000;

QString ServerCommand() { return qEnvironmentVariable("XLSLOAD_TEST_PG_SERVER"); }

int RunServer(const char* action) {
    return std::system(qPrintable(ServerCommand() + " " + action + " >/dev/null"));
}

QList<QVariantList> ItemRows() {
    QList<QVariantList> rows{{"Code", "Name", "Plu", "Desc", "Price"}};
    for (int i = 1; i <= kRows; ++i) {
        const QString n = QString("%1").arg(i, 5, 10, QChar('0'));
        rows.append({"I" + n, "Item " + n, "P" + n, "Plu " + n, i / 4.0});
    }
    return rows;
}

// Every record of a table but its identity column, in key order.
QList<QStringList> Dump(DbConnection& db, const QString& table, const QString& key) {
    QList<QStringList> rows;
    const auto rs = db.Open("Select * From " + table + " Order By " + key);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs->FieldCount(); ++i)
            if (rs->FieldAt(i).name.compare("ID", Qt::CaseInsensitive) != 0)
                row << rs->Value(i).toString();
        rows << row;
    }
    return rows;
}

using LostServerTest = FormFixture;

TEST_P(LostServerTest, AnImportCutOffByTheServerKeepsItsRecordsAndCanBeRunAgain) {
    if (ServerCommand().isEmpty())
        GTEST_SKIP() << "XLSLOAD_TEST_PG_SERVER is not set: run the tests through "
                        "scripts/with-postgres.sh";
    LoadSheet({{"Items", ItemRows()}}, "Items");
    ChooseTable("MT_ITEM");
    Map({{"Code", "ITEMCODE"},
         {"Name", "ITEMNAME"},
         {"Plu", "PLUCODE"},
         {"Desc", "POSDESCRIPTION"},
         {"Price", "UNITPRICE"}});
    form->CVerify_Click();
    // Records one at a time, so that the records before the lost one are
    // saved; a set would be rolled back whole.
    form->WriteSheetAsSet = false;

    // The server is stopped from another thread while records are written,
    // so that it may go away in the middle of one.
    std::thread stopper;
    int reports = 0;
    op.onProgress = [&](const QString& text) {
        if (text.startsWith("Insert Data") && ++reports == 2)
            stopper = std::thread([] { RunServer("stop"); });
    };
    form->CStart_Click();
    op.onProgress = nullptr;
    const bool stopped = stopper.joinable();
    if (stopped) stopper.join();
    ASSERT_EQ(RunServer("start"), 0);
    ASSERT_TRUE(stopped) << "the pass ended before the server was stopped";

    ASSERT_EQ(op.errors.size(), 1);
    EXPECT_EQ(op.errors[0].ErrProcName, "CStart_Click");
    const QRegularExpressionMatch row =
        QRegularExpression("^Rows? (\\d+) ").match(op.errors[0].ErrDescription);
    ASSERT_TRUE(row.hasMatch()) << op.errors[0].ErrDescription.toStdString();
    EXPECT_NE(op.LastMessage(), "Insert Done.");
    // Sheet row r holds record r - 1; every record before the first row named
    // (the failing one, or the first of its group) is saved.
    const int saved = row.captured(1).toInt() - 2;
    EXPECT_GT(saved, 0);

    db = DbConnection::Connect(target);
    const QList<QStringList> cutItems = Dump(*db, "MT_ITEM", "ITEMCODE");
    const QList<QStringList> cutPlus = Dump(*db, "MT_PLU", "PLUCODE");

    // The same import again, after connecting again.
    op.errors.clear();
    form->ConnectTarget(target);
    VerifyAndStart();
    const QList<QStringList> items = Dump(*db, "MT_ITEM", "ITEMCODE");
    const QList<QStringList> plus = Dump(*db, "MT_PLU", "PLUCODE");
    ASSERT_GE(cutItems.size(), saved);
    EXPECT_EQ(cutItems.mid(0, saved), items.mid(0, saved));
    EXPECT_EQ(cutPlus.mid(0, saved), plus.mid(0, saved));

    // An uninterrupted import into a schema of its own ends the same.
    const QString server = qEnvironmentVariable("XLSLOAD_TEST_PG");
    const QString reference = schema + "_ref";
    DbConnection::Connect(server)->Execute("CREATE SCHEMA " + reference);
    const QString referenceTarget = server + ";ConnSettings=SET search_path TO " + reference;
    {
        const auto ref = DbConnection::Connect(referenceTarget);
        CreateDemoSchema(*ref);
        form->ConnectTarget(referenceTarget);
        VerifyAndStart();
        EXPECT_EQ(Dump(*ref, "MT_ITEM", "ITEMCODE"), items);
        EXPECT_EQ(Dump(*ref, "MT_PLU", "PLUCODE"), plus);
    }
    EXPECT_EQ(items.size(), kRows);
    form.reset();
    DbConnection::Connect(server)->Execute("DROP SCHEMA " + reference + " CASCADE");
}

INSTANTIATE_TEST_SUITE_P(Postgres, LostServerTest, testing::Values("postgres"));

}  // namespace
