#pragma once

#include <QVector>

#include "base/Field.h"
#include "database/Dialect.h"

class QSqlDatabase;
class QSqlQuery;

// What the drivers tell beyond Qt's own API, read through their handles.

// The engine behind an open connection. An unknown DBMS is taken for SQL
// Server, whose statements the program sends as they stand.
Engine EngineOf(const QSqlDatabase& db);

// The columns of a query executed by Qt's SQLite driver with their type
// codes, from SQLite's declared types. Names are as the dialect shows them.
QVector<Field> DescribeColumns(const QSqlQuery& query, const Dialect& dialect);
