#include "database/DriverHandles.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include "database/ColumnTypes.h"

namespace {

// The ODBC handle (connection or statement) Qt's QODBC driver hands out.
SQLHANDLE OdbcHandle(const QVariant& handle) {
    if (!handle.isValid() || handle.metaType() != QMetaType::fromType<SQLHANDLE>()) return nullptr;
    return *static_cast<const SQLHANDLE*>(handle.constData());
}

sqlite3_stmt* SqliteStatement(const QVariant& handle) {
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

QString OdbcTypeName(SQLHANDLE statement, int column) {
    if (!statement) return {};
    SQLCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLColAttribute(statement, SQLUSMALLINT(column + 1), SQL_DESC_TYPE_NAME,
                                       name, SQLSMALLINT(sizeof(name)), &length, nullptr)))
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(name));
}

// A column without a declared type (an expression) is known by the
// storage class of the value Qt read.
QString SqliteTypeName(sqlite3_stmt* statement, const QSqlField& field, int column) {
    if (const char* declared = sqlite3_column_decltype(statement, column))
        return QString::fromUtf8(declared);
    switch (field.metaType().id()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return "integer";
        case QMetaType::Double:
            return "real";
        case QMetaType::QByteArray:
            return "blob";
        default:
            return "text";
    }
}

}  // namespace

Engine EngineOf(const QSqlDatabase& db) {
    // QODBC names the DBMS from the driver's SQL_DBMS_NAME.
    switch (db.driver()->dbmsType()) {
        case QSqlDriver::SQLite:
            return Engine::SQLite;
        case QSqlDriver::PostgreSQL:
            return Engine::PostgreSQL;
        default:
            return Engine::SqlServer;
    }
}

QVector<Field> DescribeColumns(const QSqlQuery& query, const Dialect& dialect) {
    const QSqlRecord record = query.record();
    const QVariant handle = query.result()->handle();
    sqlite3_stmt* const sqlite = SqliteStatement(handle);
    const SQLHANDLE odbc = sqlite ? nullptr : OdbcHandle(handle);
    QVector<Field> fields;
    fields.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField column = record.field(i);
        Field field;
        field.name = dialect.FieldName(column.name());
        field.type = sqlite ? TypeCodeOf(SqliteTypeName(sqlite, column, i))
                            : TypeCodeOf(OdbcTypeName(odbc, i), column.typeID());
        fields.append(field);
    }
    return fields;
}
