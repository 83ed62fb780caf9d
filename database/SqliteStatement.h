#pragma once

#include <QByteArray>
#include <vector>

#include "database/Statement.h"

struct sqlite3;
struct sqlite3_stmt;

// A statement on the SQLite connection Qt opened, through SQLite's own
// calls: binding a value is a call, not a trip through Qt's result
// machinery, which cost a set pass more than the writing itself. Values
// are bound and read as Qt's SQLite driver binds and reads them, so a file
// reads the same whichever way it was written.
class SqliteStatement : public Statement {
public:
    // Another connection's write lock is waited for up to timeoutSeconds
    // (the connection's busy timeout); the failure then says so.
    SqliteStatement(sqlite3* connection, const QString& sql, int timeoutSeconds);
    ~SqliteStatement() override;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void Run(const QVariantList& params) override;
    QVector<Field> Describe(const Dialect& dialect) override;
    bool Next() override;
    QVariant Value(int column) override;
    int RowsAffected() override;
    void Finish() override;

private:
    [[noreturn]] void Fail(int code);
    void Bind(int index, const QVariant& value);
    int BindText(int index, const QString& text);
    // Room for size bytes of bound text, alive until the run ends.
    char* TextSpace(qsizetype size);
    // Steps once; true on a row.
    bool Step();

    sqlite3* connection_;
    int timeoutSeconds_;
    sqlite3_stmt* statement_ = nullptr;
    // The bound texts, one after another, in blocks kept from run to run.
    std::vector<QByteArray> textBlocks_;
    size_t textBlock_ = 0;     // the block being filled
    qsizetype textUsed_ = 0;   // bytes of it filled
    bool pendingRow_ = false;  // Run stepped onto the first row
    int changes_ = 0;
};
