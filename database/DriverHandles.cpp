#include "database/DriverHandles.h"

#include <sqlite3.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include "database/ColumnTypes.h"

namespace {

sqlite3_stmt* SqliteStatement(const QVariant& handle) {
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
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
    sqlite3_stmt* const sqlite = SqliteStatement(query.result()->handle());
    QVector<Field> fields;
    fields.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField column = record.field(i);
        Field field;
        field.name = dialect.FieldName(column.name());
        field.type = TypeCodeOf(sqlite ? SqliteTypeName(sqlite, column, i) : QString());
        fields.append(field);
    }
    return fields;
}
