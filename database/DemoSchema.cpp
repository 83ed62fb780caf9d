#include "database/DemoSchema.h"

#include <QRegularExpression>

#include "DemoSchemaText.h"
#include "base/AppError.h"
#include "database/DbConnection.h"

namespace {
// The number SQL Server gives "There is already an object named ... in the
// database".
constexpr qint32 kObjectExists = 2714;
}  // namespace

QString DemoSchemaDdl(Engine engine) {
    switch (engine) {
        case Engine::SqlServer:
            return DemoSchemaText::kSqlServer;
        case Engine::PostgreSQL:
            return DemoSchemaText::kPostgreSql;
        case Engine::SQLite:
            break;
    }
    return DemoSchemaText::kSqlite;
}

QStringList SplitStatements(const QString& ddl) {
    QStringList statements;
    QString current;
    for (const QString& line : ddl.split('\n')) {
        const QString text = line.trimmed();
        if (text.isEmpty() || text.startsWith("--")) continue;
        current += (current.isEmpty() ? "" : "\n") + line;
        if (text.endsWith(';')) {
            current.chop(current.size() - current.lastIndexOf(';'));
            statements << current;
            current.clear();
        }
    }
    if (!current.trimmed().isEmpty()) statements << current;
    return statements;
}

QStringList CreatedTables(const QStringList& statements) {
    static const QRegularExpression kCreate("^\\s*create\\s+table\\s+(\\w+)",
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    for (const QString& s : statements)
        if (const QRegularExpressionMatch m = kCreate.match(s); m.hasMatch())
            tables << m.captured(1);
    return tables;
}

namespace {
// The schema's tables that the database has, as the DDL names them.
QStringList PresentTables(DbConnection& db, const QStringList& statements) {
    QStringList present;
    for (const QString& table : CreatedTables(statements))
        if (db.Open(db.SqlDialect().ColumnListQuery(table, {}))->RecordCount() > 0)
            present << table;
    return present;
}
}  // namespace

void CreateDemoSchema(DbConnection& db) {
    const QStringList statements = SplitStatements(DemoSchemaDdl(db.SqlDialect().Kind()));
    const QStringList present = PresentTables(db, statements);
    if (!present.isEmpty())
        throw AppError(kObjectExists, "The database already has the demo till tables " +
                                          present.join(", ").toUpper() +
                                          "; they are created only in a database without them");
    db.RunInTransaction([&] {
        for (const QString& statement : statements) db.Execute(statement);
    });
}

void DropDemoSchema(DbConnection& db) {
    const QStringList present =
        PresentTables(db, SplitStatements(DemoSchemaDdl(db.SqlDialect().Kind())));
    db.RunInTransaction([&] {
        for (const QString& table : present)
            db.Execute("Drop Table " + db.SqlDialect().Quote(table));
    });
}
