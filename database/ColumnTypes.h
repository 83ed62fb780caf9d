#pragma once

#include <QString>

// The type code (TypeCode in Field.h) of a result column, from the name its
// engine gives the column's type: SQLite's declared type ("VARCHAR(20)",
// "NUMERIC(18,4)") or an ODBC driver's type name ("nvarchar", "int4",
// "int identity"). A name the mapping does not know falls back to the
// column's ODBC SQL type (0 when there is none), then to SQLite's affinity
// rules, and finally to variable-length text.
int TypeCodeOf(const QString& typeName, int odbcSqlType = 0);
