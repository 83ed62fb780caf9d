#pragma once

#include <QVector>

#include "base/Field.h"
#include "database/Dialect.h"

class QSqlDatabase;
struct sqlite3;

// What the drivers tell beyond Qt's own API, read through their handles.

// The engine behind an open connection. An unknown DBMS is taken for SQL
// Server, whose statements the program sends as they stand.
Engine EngineOf(const QSqlDatabase& db);

// The driver's own connection handle under an open Qt connection.
void* OdbcHandle(const QSqlDatabase& db);
sqlite3* SqliteHandle(const QSqlDatabase& db);
