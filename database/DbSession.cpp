#include "database/DbSession.h"

#include <QSqlError>
#include <atomic>

#include "database/DbError.h"
#include "database/DriverHandles.h"

namespace {
// Prepared statements kept per connection; more are let go all at once.
constexpr int kMaxPrepared = 256;

DbSession::Result Read(QSqlQuery& query, const QVector<Field>& fields) {
    DbSession::Result result{fields, {}};
    const int n = int(fields.size());
    while (query.next()) {
        Recordset::Row row(n);
        for (int i = 0; i < n; ++i) row[i] = ConvertValue(fields[i], query.value(i));
        result.rows.append(row);
    }
    if (query.lastError().isValid()) throw DbFailure(query.lastError());
    query.finish();
    return result;
}
}  // namespace

struct DbSession::Prepared {
    QSqlQuery query;
    QVector<Field> fields;
    bool described = false;
};

DbSession::DbSession(const QString& driver) {
    static std::atomic<int> counter{0};
    name_ = QString("xlsload-db-%1").arg(++counter);
    db_ = QSqlDatabase::addDatabase(driver, name_);
}

DbSession::~DbSession() { Close(); }

void DbSession::Open() {
    if (!db_.open()) throw DbFailure(db_.lastError());
    dialect_ = Dialect(EngineOf(db_));
}

void DbSession::Close() {
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

void DbSession::RequireOpen() const {
    if (!IsOpen())
        throw AppError(ErrorNumber::ConnectionClosed,
                       "The connection cannot be used to perform this operation. It is either "
                       "closed or invalid in this context.");
}

DbSession::Result DbSession::Query(const SqlCall& call, const QVector<Field>* fields) {
    RequireOpen();
    if (call.params.isEmpty()) {
        QSqlQuery query(db_);
        query.setForwardOnly(true);
        if (!query.exec(call.sql)) throw DbFailure(query.lastError());
        return Read(query, fields ? *fields : DescribeColumns(query, dialect_));
    }
    const std::shared_ptr<Prepared> p = Prepare(call.sql);
    Run(p->query, call.params);
    if (!p->described) {
        p->fields = DescribeColumns(p->query, dialect_);
        p->described = true;
    }
    return Read(p->query, fields ? *fields : p->fields);
}

int DbSession::Execute(const SqlCall& call) {
    RequireOpen();
    if (call.params.isEmpty()) {
        QSqlQuery query(db_);
        if (!query.exec(call.sql)) throw DbFailure(query.lastError());
        return query.numRowsAffected();
    }
    const std::shared_ptr<Prepared> p = Prepare(call.sql);
    Run(p->query, call.params);
    const int changed = p->query.numRowsAffected();
    p->query.finish();
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
    p->query = QSqlQuery(db_);
    p->query.setForwardOnly(true);
    if (!p->query.prepare(sql)) throw DbFailure(p->query.lastError());
    prepared_.insert(sql, p);
    return p;
}

void DbSession::Run(QSqlQuery& query, const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i) query.bindValue(i, dialect_.Bindable(params[i]));
    if (!query.exec()) {
        const QSqlError error = query.lastError();
        query.finish();
        throw DbFailure(error);
    }
}
