#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "QStringPrinter.h"
#include "TestWorkbook.h"
#include "database/DbConnection.h"
#include "form/Minsert.h"
#include "form/RecordingOperator.h"

// The window's form model over a fresh demo till database, on SQLite or on
// the test PostgreSQL server (skipped when the test command did not start
// one), with a program folder of its own.
class FormFixture : public testing::TestWithParam<QString> {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the workbook EXCEL/file (one sheet a TestSheet; .xls or .xlsx
    // by its name) and chooses sheet.
    void LoadSheet(const QList<TestSheet>& sheets, const QString& sheet,
                   const QString& file = "Book.xls");
    void ChooseTable(const QString& table);
    // Maps sheet columns by name: {"Excel Field", "TILL Field"}.
    void Map(const QList<QPair<QString, QString>>& pairs);
    // Verify, then Start answering Yes.
    void VerifyAndStart();
    // Rows of a query on the target database, values as text.
    QList<QStringList> Query(const QString& sql);
    // The verdict file of the workbook "Book" (.xls or .xlsx) for a verdict.
    QByteArray VerdictFile(const QString& verdict) const;

    QTemporaryDir dir;
    QString home;
    QString target;
    QString schema;  // the test's own schema on PostgreSQL
    RecordingOperator op;
    std::unique_ptr<Minsert> form;
    std::unique_ptr<DbConnection> db;
};

// The engines every form test runs on.
#define INSTANTIATE_ON_ENGINES(suite) \
    INSTANTIATE_TEST_SUITE_P(Engines, suite, testing::Values("sqlite", "postgres"))
