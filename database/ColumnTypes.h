#pragma once

#include <QString>

// The type code (TypeCode in Field.h) of a result column, from the name its
// engine gives the column's type: SQLite's declared type ("VARCHAR(20)",
// "NUMERIC(18,4)") or an ODBC driver's type name ("nvarchar", "int4",
// "int identity"), with the column's ODBC SQL type (0 for SQLite). A binary
// ODBC type wins over the name (SQL Server's timestamp is a row version). A
// name the mapping does not know falls back, for SQLite, to its affinity
// rules, and otherwise to the ODBC type, or to text when that is unknown too.
int TypeCodeOf(const QString& typeName, int odbcSqlType = 0);
