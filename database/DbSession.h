#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <functional>
#include <memory>

#include "base/Recordset.h"
#include "database/Dialect.h"
#include "database/TableQuery.h"
#include "database/TableShape.h"

class Statement;

// One open Qt SQL connection under a name of its own, with what it keeps
// between statements: the statements with values, prepared once, and the
// primary keys and the shapes of the tables it has met. Failures raise
// AppError. A connection left unfit by a statement (the server's time ran
// out, the line was lost) is opened again before the next one.
class DbSession {
public:
    struct Result {
        QVector<Field> fields;
        QVector<Recordset::Row> rows;
    };

    // Adds the connection of a Qt SQL driver ("QSQLITE", "QODBC"), not
    // open. The server is given timeoutSeconds to answer each statement and
    // to grant each lock.
    DbSession(const QString& driver, int timeoutSeconds);
    ~DbSession();

    QSqlDatabase& Database() { return db_; }
    // Opens the connection and finds the engine behind it.
    void Open();
    void Close();
    bool IsOpen() const;
    // Opens the connection again where a statement left it unfit, and
    // refuses a closed one.
    void Ready();
    const Dialect& SqlDialect() const { return dialect_; }
    // A transaction. On SQLite it takes the write lock as it begins: one
    // that reads first and writes later meets another program's writer
    // with "database is locked" at once, where the wait for the lock would
    // not apply.
    void Begin();
    void Commit();
    // Ends the transaction, if the failure that led here left one open.
    void Rollback();

    // The rows of a query; fields as the engine describes them unless given.
    Result Query(const SqlCall& call, const QVector<Field>* fields = nullptr);
    // Runs a statement that returns no rows; answers how many it changed.
    int Execute(const SqlCall& call);
    // The primary key columns of a table, upper case, in key order.
    const QStringList& PrimaryKey(const QString& table);
    // The shape kept under a ShapeKey, or null; and keeping one.
    std::shared_ptr<TableShape> FindShape(const QString& key) const;
    void KeepShape(const QString& key, std::shared_ptr<TableShape> shape);
    // How many statements were sent to the engine.
    int StatementCount() const { return statements_; }
    // The text kept under key, made by build the first time.
    const QString& KeptText(const QString& key, const std::function<QString()>& build);

private:
    struct Prepared;
    std::shared_ptr<Prepared> Prepare(const QString& sql);
    std::unique_ptr<Statement> NewStatement(const QString& sql, bool prepared);
    void Run(Statement& statement, const QVariantList& params);
    // What every connection of the engine is set to once open.
    void Setup();

    QString name_;
    int timeoutSeconds_;
    bool unfit_ = false;
    int statements_ = 0;
    QSqlDatabase db_;
    Dialect dialect_{Engine::SqlServer};
    QHash<QString, std::shared_ptr<Prepared>> prepared_;
    QHash<QString, QStringList> primaryKeys_;
    QHash<QString, std::shared_ptr<TableShape>> shapes_;
    QHash<QString, QString> texts_;
};
