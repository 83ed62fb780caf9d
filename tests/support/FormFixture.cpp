#include "FormFixture.h"

#include <QCoreApplication>
#include <QFile>

#include "base/ValueText.h"
#include "database/ConnectionString.h"
#include "database/DemoSchema.h"

void FormFixture::SetUp() {
    home = dir.path();
    if (GetParam() == "sqlite") {
        target = SqliteTarget(home + "/till.db");
        db = DbConnection::Connect(target, DbConnection::SqliteFile::Create);
    } else {
        const QString server = qEnvironmentVariable("XLSLOAD_TEST_PG");
        if (server.isEmpty())
            GTEST_SKIP() << "XLSLOAD_TEST_PG is not set: run the tests through "
                            "scripts/with-postgres.sh";
        // A schema of its own for each test; every connection of the test
        // finds its tables there, since the target string sets the path.
        static int counter = 0;
        schema = QString("xf_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        DbConnection::Connect(server)->Execute("CREATE SCHEMA " + schema);
        target = server + ";ConnSettings=SET search_path TO " + schema;
        db = DbConnection::Connect(target);
    }
    CreateDemoSchema(*db);
    form = std::make_unique<Minsert>(op, home);
    form->CheckExistFolder();
    form->LoadLCombo();
    form->ConnectTarget(target);
    ASSERT_TRUE(form->Connected());
}

void FormFixture::TearDown() {
    form.reset();
    db.reset();
    if (!schema.isEmpty())
        DbConnection::Connect(qEnvironmentVariable("XLSLOAD_TEST_PG"))
            ->Execute("DROP SCHEMA " + schema + " CASCADE");
}

void FormFixture::LoadSheet(const QList<TestSheet>& sheets, const QString& sheet,
                            const QString& file) {
    const QString path = home + "/EXCEL/" + file;
    WriteWorkbook(path, sheets);
    form->ChooseWorkbook(path);
    ASSERT_TRUE(form->ChooseSheet(sheet)) << sheet.toStdString();
    ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
}

void FormFixture::ChooseTable(const QString& table) {
    ASSERT_TRUE(form->ChooseTable(table)) << table.toStdString();
    ASSERT_EQ(form->TABLENAME.text, table);
}

void FormFixture::Map(const QList<QPair<QString, QString>>& pairs) {
    for (const auto& [excel, till] : pairs)
        ASSERT_EQ(form->MapColumn(excel, till), "") << excel.toStdString();
}

void FormFixture::VerifyAndStart() {
    form->CVerify_Click();
    ASSERT_TRUE(form->CStart.enabled) << op.LastMessage().toStdString();
    op.yesNoAnswers = {true};
    form->CStart_Click();
    ASSERT_TRUE(op.errors.isEmpty()) << op.errors[0].ErrDescription.toStdString();
    ASSERT_EQ(op.LastMessage(), "Insert Done.");
}

QList<QStringList> FormFixture::Query(const QString& sql) {
    QList<QStringList> rows;
    const auto rs = db->Open(sql);
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList row;
        for (int i = 0; i < rs->FieldCount(); ++i) row << ValueText(rs->Value(i));
        rows << row;
    }
    return rows;
}

QByteArray FormFixture::VerdictFile(const QString& verdict) const {
    QFile f(home + "/EXCEL/Book_Migrate_" + verdict + ".txt");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
