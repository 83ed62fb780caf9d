#include "database/DbConnection.h"

#include <QFileInfo>

#include "base/AppError.h"
#include "database/ConnectionString.h"
#include "database/DbSession.h"
#include "database/TableWriter.h"

namespace {

// The database client's number when a driver is not installed.
constexpr qint32 kProviderNotFound = 3706;
// An ODBC login gives up after this many seconds: FreeTDS, left to its
// defaults, waits forever on a server that accepts and never answers.
constexpr int kLoginTimeoutSeconds = 15;

// FreeTDS reads freetds.conf only for connections that name a configured
// server (Servername=, DSN=); the "Server=host" string of the program
// bypasses it. Left to guess the protocol, FreeTDS retries a silent server
// with older protocols, the last of which waits without end; a fixed
// version makes the login timeout final. An operator's own TDSVER stays.
void FixTdsVersion() {
    if (qEnvironmentVariableIsEmpty("TDSVER")) qputenv("TDSVER", "7.4");
}

std::shared_ptr<DbSession> NewSession(const QString& target, DbConnection::SqliteFile file,
                                      int timeoutSeconds) {
    const QString sqlitePrefix = kSqliteTargetPrefix;
    const QString odbcPrefix = kOdbcTargetPrefix;
    std::shared_ptr<DbSession> session;
    if (target.startsWith(sqlitePrefix)) {
        const QString path = target.mid(sqlitePrefix.size());
        if (file == DbConnection::SqliteFile::MustExist && !QFileInfo(path).isFile())
            throw InputMistake(ErrorNumber::PathNotFound,
                               "The SQLite database file does not exist: " + path +
                                   ". Name an existing file, or make one with xlsload init-db.");
        session = std::make_shared<DbSession>("QSQLITE", timeoutSeconds);
        session->Database().setDatabaseName(path);
        // Another program writing the file is waited for as long as a
        // server is.
        session->Database().setConnectOptions(
            QString("QSQLITE_BUSY_TIMEOUT=%1").arg(qint64(timeoutSeconds) * 1000));
    } else if (target.startsWith(odbcPrefix)) {
        FixTdsVersion();
        session = std::make_shared<DbSession>("QODBC", timeoutSeconds);
        session->Database().setDatabaseName(target.mid(odbcPrefix.size()));
        session->Database().setConnectOptions(
            QString("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kLoginTimeoutSeconds));
    } else {
        throw AppError(ErrorNumber::InvalidArgument,
                       "The database target must be sqlite:PATH or odbc:CONNECTION-STRING");
    }
    if (!session->Database().isValid())
        throw AppError(kProviderNotFound, "The Qt SQL driver " + session->Database().driverName() +
                                              " is not installed");
    return session;
}

}  // namespace

DbConnection::DbConnection(std::shared_ptr<DbSession> session) : session_(std::move(session)) {}

DbConnection::~DbConnection() { session_->Close(); }

std::unique_ptr<DbConnection> DbConnection::Connect(const QString& target, SqliteFile file,
                                                    int timeoutSeconds) {
    const std::shared_ptr<DbSession> session = NewSession(target, file, timeoutSeconds);
    session->Database().setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    session->Open();
    return std::unique_ptr<DbConnection>(new DbConnection(session));
}

std::unique_ptr<Recordset> DbConnection::Open(const QString& sql, const QVariantList& params) {
    DbSession::Result result = session_->Query({sql, params});
    return std::make_unique<Recordset>(std::move(result.fields), std::move(result.rows));
}

void DbConnection::Execute(const QString& sql, const QVariantList& params) {
    session_->Execute({sql, params});
}

void DbConnection::Close() { session_->Close(); }

bool DbConnection::IsOpen() const { return session_->IsOpen(); }

const Dialect& DbConnection::SqlDialect() const { return session_->SqlDialect(); }

const QString& DbConnection::KeptText(const QString& key,
                                      const std::function<QString(const Dialect&)>& build) {
    return session_->KeptText(key, [&] { return build(session_->SqlDialect()); });
}

std::unique_ptr<Recordset> DbConnection::OpenTable(const TableQuery& query) {
    const QString key = ShapeKey(query);
    std::shared_ptr<TableShape> shape = session_->FindShape(key);
    DbSession::Result result;
    if (shape) {
        result = session_->Query({shape->selectSql, BoundValues(query.where)}, &shape->fields);
    } else {
        const SqlCall call = SelectCall(session_->SqlDialect(), query);
        result = session_->Query(call);
        shape = MakeShape(query, call.sql, result.fields, session_->PrimaryKey(query.table));
        result.fields = shape->fields;
        session_->KeepShape(key, shape);
    }
    auto writer = std::make_shared<TableWriter>(session_, shape, query.where);
    return std::make_unique<Recordset>(std::move(result.fields), std::move(result.rows),
                                       std::move(writer));
}

std::shared_ptr<const TableShape> DbConnection::Shape(const TableQuery& query) {
    if (auto shape = session_->FindShape(ShapeKey(query))) return shape;
    OpenTable(query);
    return session_->FindShape(ShapeKey(query));
}

int DbConnection::StatementCount() const { return session_->StatementCount(); }

void DbConnection::RunInTransaction(const std::function<void()>& work) {
    session_->Begin();
    try {
        work();
        session_->Commit();
    } catch (...) {
        session_->Rollback();
        throw;
    }
}
