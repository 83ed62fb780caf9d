#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "base/Connection.h"
#include "database/Dialect.h"
#include "database/TableQuery.h"

class DbSession;
struct TableShape;

// Seconds the server is given to answer a statement, and to grant a lock,
// unless the user sets another time.
constexpr int kDefaultStatementTimeout = 60;

// A connection to the target database over Qt SQL. The engine behind it is
// found when it opens and picks the dialect of its statements. Statements
// with values are prepared once and reused. Failures raise AppError with
// the driver's native number and text.
class DbConnection : public Connection {
public:
    enum class SqliteFile { MustExist, Create };

    // target is "sqlite:PATH" or "odbc:CONNECTION-STRING". An ODBC string
    // is never part of an error's text: it holds the password. A server
    // that does not answer a statement within timeoutSeconds fails it with
    // "timed out waiting for the server".
    static std::unique_ptr<DbConnection> Connect(const QString& target,
                                                 SqliteFile file = SqliteFile::MustExist,
                                                 int timeoutSeconds = kDefaultStatementTimeout);
    ~DbConnection() override;

    std::unique_ptr<Recordset> Open(const QString& sql, const QVariantList& params = {}) override;
    void Execute(const QString& sql, const QVariantList& params = {}) override;
    void Close() override;
    bool IsOpen() const override;

    // The records of a table that meet the criteria, in a recordset that
    // can change them and add records. Update writes only the fields that
    // changed, to the record that was read: found by its primary key when
    // the table has one and every key column was read, otherwise by the
    // criteria. A new record gets the fields that were set. An aliased
    // field writes its column; the identity column ID is never written.
    std::unique_ptr<Recordset> OpenTable(const TableQuery& query);
    // What OpenTable of the query shows and writes: its fields, the column
    // each reads, and which of them a save writes.
    std::shared_ptr<const TableShape> Shape(const TableQuery& query);
    // How many statements the connection has sent to the engine.
    int StatementCount() const;

    const Dialect& SqlDialect() const;
    // A statement text made by build once per connection and kept under key,
    // for statements a pass sends once per record.
    const QString& KeptText(const QString& key,
                            const std::function<QString(const Dialect&)>& build);
    // Runs work in one transaction: all of it is kept, or none of it.
    void RunInTransaction(const std::function<void()>& work);

private:
    explicit DbConnection(std::shared_ptr<DbSession> session);
    std::shared_ptr<DbSession> session_;
};
