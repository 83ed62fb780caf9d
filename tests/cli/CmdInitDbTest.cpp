#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "cli/Commands.h"
#include "database/ConnectionString.h"
#include "database/DbConnection.h"

namespace {

TEST(InitDbCommand, CreatesTheTablesInANewSqliteFileAndRefusesToRepeat) {
    QTemporaryDir dir;
    const QString target = SqliteTarget(dir.filePath("till.db"));
    EXPECT_EQ(RunInitDb({target}), 0);
    EXPECT_EQ(DbConnection::Connect(target)->Open("Select * From INVT_MT_ITEM")->FieldCount(), 46);
    EXPECT_EQ(RunInitDb({target}), 2);
    EXPECT_EQ(RunInitDb({}), 2);
    EXPECT_EQ(RunInitDb({"nowhere:x"}), 2);
}

}  // namespace
