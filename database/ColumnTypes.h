#pragma once

#include <QString>

#include "base/Field.h"

// The type code (TypeCode in Field.h) of a result column, from the name its
// engine gives the column's type: SQLite's declared type ("VARCHAR(20)",
// "NUMERIC(18,4)") or an ODBC driver's type name ("nvarchar", "int4",
// "int identity"), with the column's ODBC SQL type (0 for SQLite). A binary
// ODBC type wins over the name (SQL Server's timestamp is a row version). A
// name the mapping does not know falls back, for SQLite, to its affinity
// rules, and otherwise to the ODBC type, or to text when that is unknown too.
int TypeCodeOf(const QString& typeName, int odbcSqlType = 0);

// What an engine says of a column beside its type's name: an ODBC driver
// its size (characters, or digits of a number) and decimal digits; SQLite
// a declared type ("NUMERIC(18,4)") that carries them. Both say whether the
// column takes null.
struct ReportedColumn {
    qulonglong size = 0;
    int digits = 0;
    bool nullable = true;
    bool declared = false;  // the type name is SQLite's declaration
};

// What a column of that type can hold: the digits and scale of an exact
// number (money has four decimals, smallmoney ten digits in all), the days
// of a SQL Server datetime or smalldatetime, and whether it takes null.
// The declaration is the rule on SQLite, even where SQLite would store
// anything.
ColumnLimits LimitsOf(const QString& typeName, int typeCode, const ReportedColumn& reported);
