#pragma once

#include <QString>
#include <QStringList>

#include "database/Dialect.h"

class DbConnection;

// The demo till schema: every table the program reads or writes, for each
// engine (schema/*.sql, compiled in).

// The DDL of the engine's schema.
QString DemoSchemaDdl(Engine engine);
// The statements of a DDL text: each ends with a line ending in ";";
// lines starting with "--" are comments.
QStringList SplitStatements(const QString& ddl);
// The tables the statements create, in order.
QStringList CreatedTables(const QStringList& statements);

// Creates the schema in one transaction. Refuses a database that already
// has any of its tables, naming them.
void CreateDemoSchema(DbConnection& db);
// Drops those of the schema's tables the database has, with their rows, so
// that benchmarks and trials can start again.
void DropDemoSchema(DbConnection& db);
