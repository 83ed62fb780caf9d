#include "database/DbSession.h"

#include <sqlite3.h>

#include <atomic>

#include "database/DbError.h"
#include "database/DriverHandles.h"
#include "database/OdbcStatement.h"
#include "database/SqliteStatement.h"

namespace {
// Prepared statements kept per connection; more are let go all at once.
constexpr int kMaxPrepared = 256;

DbSession::Result Read(Statement& statement, const QVector<Field>& fields) {
    DbSession::Result result{fields, {}};
    const int n = int(fields.size());
    while (statement.Next()) {
        Recordset::Row row(n);
        for (int i = 0; i < n; ++i) row[i] = ConvertValue(fields[i], statement.Value(i));
        result.rows.append(row);
    }
    statement.Finish();
    return result;
}

}  // namespace

struct DbSession::Prepared {
    std::unique_ptr<Statement> statement;
    QVector<Field> fields;
    bool described = false;
};

DbSession::DbSession(const QString& driver, int timeoutSeconds) : timeoutSeconds_(timeoutSeconds) {
    static std::atomic<int> counter{0};
    name_ = QString("xlsload-db-%1").arg(++counter);
    db_ = QSqlDatabase::addDatabase(driver, name_);
}

DbSession::~DbSession() { Close(); }

void DbSession::Open() {
    unfit_ = false;
    if (!db_.open()) throw DbFailure(db_.lastError());
    dialect_ = Dialect(EngineOf(db_));
    Setup();
}

void DbSession::Setup() {
    const QString lockTimeout = QString::number(qint64(timeoutSeconds_) * 1000);
    switch (dialect_.Kind()) {
        case Engine::SQLite:
            // Every record is committed on its own: the write-ahead log keeps
            // that fast.
            Execute({"PRAGMA journal_mode=WAL", {}});
            Execute({"PRAGMA synchronous=NORMAL", {}});
            // A sheet staged as a set stays in memory, and a large table's
            // index pages stay cached while it is written.
            Execute({"PRAGMA temp_store=MEMORY", {}});
            Execute({"PRAGMA cache_size=-65536", {}});
            break;
        case Engine::SqlServer:
            // A lock held by a till or back-office session is waited for as
            // long as a statement is, not for ever.
            Execute({"SET LOCK_TIMEOUT " + lockTimeout, {}});
            break;
        case Engine::PostgreSQL:
            Execute({"SET lock_timeout = " + lockTimeout, {}});
            break;
    }
}

void DbSession::Close() {
    // Statements go before their connection: their handles die with it.
    prepared_.clear();
    primaryKeys_.clear();
    shapes_.clear();
    texts_.clear();
    if (name_.isEmpty()) return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
}

bool DbSession::IsOpen() const { return db_.isValid() && db_.isOpen(); }

void DbSession::Ready() {
    if (unfit_ && IsOpen()) {
        prepared_.clear();
        db_.close();
        Open();
    }
    if (!IsOpen())
        throw AppError(ErrorNumber::ConnectionClosed,
                       "The connection cannot be used to perform this operation. It is either "
                       "closed or invalid in this context.");
}

void DbSession::Begin() {
    Ready();
    if (dialect_.Kind() == Engine::SQLite)
        Execute({"BEGIN IMMEDIATE", {}});
    else if (!db_.transaction())
        throw DbFailure(db_.lastError());
}

void DbSession::Commit() {
    if (dialect_.Kind() == Engine::SQLite)
        Execute({"COMMIT", {}});
    else if (!db_.commit())
        throw DbFailure(db_.lastError());
}

void DbSession::Rollback() {
    if (dialect_.Kind() != Engine::SQLite) {
        // A server that rolled the transaction back itself (a deadlock
        // victim, an error under XACT_ABORT) refuses the client's rollback,
        // and the driver then leaves the session without autocommit and
        // without a transaction it knows of: the next one would begin none.
        // The session is opened again before it is used.
        if (!db_.rollback()) unfit_ = true;
        return;
    }
    // SQLite ends the transaction itself after some failures (a full disk).
    if (IsOpen() && !sqlite3_get_autocommit(SqliteHandle(db_))) Execute({"ROLLBACK", {}});
}

DbSession::Result DbSession::Query(const SqlCall& call, const QVector<Field>* fields) {
    Ready();
    if (call.params.isEmpty()) {
        const std::unique_ptr<Statement> statement = NewStatement(call.sql, false);
        Run(*statement, {});
        return Read(*statement, fields ? *fields : statement->Describe(dialect_));
    }
    const std::shared_ptr<Prepared> p = Prepare(call.sql);
    Run(*p->statement, call.params);
    if (!p->described) {
        p->fields = p->statement->Describe(dialect_);
        p->described = true;
    }
    return Read(*p->statement, fields ? *fields : p->fields);
}

int DbSession::Execute(const SqlCall& call) {
    Ready();
    if (call.params.isEmpty()) {
        const std::unique_ptr<Statement> statement = NewStatement(call.sql, false);
        Run(*statement, {});
        return statement->RowsAffected();
    }
    const std::shared_ptr<Prepared> p = Prepare(call.sql);
    Run(*p->statement, call.params);
    const int changed = p->statement->RowsAffected();
    p->statement->Finish();
    return changed;
}

const QStringList& DbSession::PrimaryKey(const QString& table) {
    const QString key = table.toUpper();
    if (const auto it = primaryKeys_.constFind(key); it != primaryKeys_.constEnd()) return *it;
    QStringList columns;
    for (const Recordset::Row& row : Query({dialect_.PrimaryKeyQuery(), {table}}).rows)
        columns << row.value(0).toString().toUpper();
    return *primaryKeys_.insert(key, columns);
}

std::shared_ptr<TableShape> DbSession::FindShape(const QString& key) const {
    return shapes_.value(key);
}

void DbSession::KeepShape(const QString& key, std::shared_ptr<TableShape> shape) {
    if (shapes_.size() >= kMaxPrepared) shapes_.clear();
    shapes_.insert(key, std::move(shape));
}

const QString& DbSession::KeptText(const QString& key, const std::function<QString()>& build) {
    if (const auto it = texts_.constFind(key); it != texts_.constEnd()) return *it;
    return *texts_.insert(key, build());
}

std::shared_ptr<DbSession::Prepared> DbSession::Prepare(const QString& sql) {
    if (const auto it = prepared_.constFind(sql); it != prepared_.constEnd()) return *it;
    if (prepared_.size() >= kMaxPrepared) prepared_.clear();
    auto p = std::make_shared<Prepared>();
    p->statement = NewStatement(sql, true);
    prepared_.insert(sql, p);
    return p;
}

std::unique_ptr<Statement> DbSession::NewStatement(const QString& sql, bool prepared) {
    if (db_.driverName() == "QODBC")
        return std::make_unique<OdbcStatement>(OdbcHandle(db_), sql, prepared, timeoutSeconds_,
                                               dialect_.Kind() == Engine::SqlServer
                                                   ? OdbcStatement::Texts::NarrowWhileAscii
                                                   : OdbcStatement::Texts::Wide);
    return std::make_unique<SqliteStatement>(SqliteHandle(db_), sql, timeoutSeconds_);
}

void DbSession::Run(Statement& statement, const QVariantList& params) {
    QVariantList bound = params;  // shared until a value is bound otherwise
    for (qsizetype i = 0; i < params.size(); ++i)
        if (std::optional<QVariant> value = dialect_.Rebound(params[i])) bound[i] = *value;
    ++statements_;
    try {
        statement.Run(bound);
    } catch (const AppError&) {
        if (statement.LeftConnectionUnfit()) unfit_ = true;
        throw;
    }
}
