#pragma once

#include <QString>

// The database targets the program connects to: "odbc:" + an ODBC
// connection string, or "sqlite:" + the path of a SQLite file.

inline constexpr char kOdbcTargetPrefix[] = "odbc:";
inline constexpr char kSqliteTargetPrefix[] = "sqlite:";

// The ODBC driver names the strings use; the install script registers
// "SQL Server" (FreeTDS) and configures Debian's psqlODBC entry.
inline constexpr char kSqlServerDriver[] = "SQL Server";
inline constexpr char kPostgreSqlDriver[] = "PostgreSQL Unicode";

// A value as it goes into a connection string: unchanged when ordinary;
// between braces, each "}" doubled, when it holds ";", "{" or "}" or starts
// or ends with a blank, so that it cannot change the string's meaning.
QString ConnectionValue(const QString& value);

// "Driver={SQL Server};Server={S};Database={D};Uid={U};Pwd={P};" Refuses a
// value holding "}" with an AppError that names the field.
QString SqlServerConnectionString(const QString& server, const QString& database,
                                  const QString& user, const QString& password);
// psqlODBC; server is "host" or "host:port". Errors roll back nothing by
// themselves (Protocol 7.4-0): no savepoint around every statement.
QString PostgreSqlConnectionString(const QString& server, const QString& database,
                                   const QString& user, const QString& password);

// Whether an ODBC connection string gives a password (Pwd= or Password=,
// in any letter case), reading a value between braces as one value.
bool HoldsPassword(const QString& connectionString);
// The connection string with the password added as its Pwd= value.
QString WithPassword(const QString& connectionString, const QString& password);

QString OdbcTarget(const QString& connectionString);
QString SqliteTarget(const QString& path);
