#include "DbTestSupport.h"

#include <unistd.h>

#include "database/ConnectionString.h"

std::string BackendName(const testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

void FreshDatabase::SetUp() {
    if (GetParam() == Backend::SQLite) {
        ASSERT_TRUE(dir_.isValid());
        target_ = SqliteTarget(dir_.filePath("test.db"));
        db_ = DbConnection::Connect(target_, DbConnection::SqliteFile::Create);
        return;
    }
    target_ = qEnvironmentVariable("XLSLOAD_TEST_PG");
    if (target_.isEmpty())
        GTEST_SKIP() << "XLSLOAD_TEST_PG is not set: run the tests through "
                        "scripts/with-postgres.sh";
    // Tests may run at the same time against the one test database.
    static int counter = 0;
    schema_ = QString("xt_%1_%2").arg(getpid()).arg(++counter);
    DbConnection::Connect(target_)->Execute("CREATE SCHEMA " + schema_);
    db_ = ConnectToSchema();
}

void FreshDatabase::TearDown() {
    if (db_) db_->Close();
    if (!schema_.isEmpty())
        DbConnection::Connect(target_)->Execute("DROP SCHEMA " + schema_ + " CASCADE");
}

std::unique_ptr<DbConnection> FreshDatabase::Reconnect(int timeoutSeconds) const {
    return schema_.isEmpty()
               ? DbConnection::Connect(target_, DbConnection::SqliteFile::MustExist, timeoutSeconds)
               : ConnectToSchema(timeoutSeconds);
}

std::unique_ptr<DbConnection> FreshDatabase::ConnectToSchema(int timeoutSeconds) const {
    auto db = DbConnection::Connect(target_, DbConnection::SqliteFile::MustExist, timeoutSeconds);
    db->Execute("SET search_path TO " + schema_);
    return db;
}
