#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "database/DbConnection.h"

// The engines the database tests run on.
enum class Backend { SQLite, PostgreSQL };

std::string BackendName(const testing::TestParamInfo<Backend>& info);

// A fresh, empty database for each test: a new SQLite file, or a schema of
// its own on the test PostgreSQL server named by XLSLOAD_TEST_PG (tests on
// PostgreSQL skip without it), dropped afterwards.
class FreshDatabase : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override;
    void TearDown() override;
    // A second connection to the same database.
    std::unique_ptr<DbConnection> Reconnect(int timeoutSeconds = kDefaultStatementTimeout) const;

    std::unique_ptr<DbConnection> db_;

private:
    std::unique_ptr<DbConnection> ConnectToSchema(
        int timeoutSeconds = kDefaultStatementTimeout) const;

    QTemporaryDir dir_;
    QString target_;
    QString schema_;
};

#define INSTANTIATE_ON_EVERY_BACKEND(Suite)  \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, \
                             testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName)
