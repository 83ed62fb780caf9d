#include "database/ColumnTypes.h"

#include <sql.h>
#include <sqlext.h>

#include <QHash>
#include <QStringList>
#include <array>

#include "base/Field.h"

namespace {

// The one mapping from the engines' column types to the database client's
// type codes. Names are the type names of SQL Server (through FreeTDS),
// PostgreSQL (through psqlODBC) and SQLite (declared types and storage
// classes), lower case, without length or precision. Most kinds of text
// read as 202, as the workbook's text columns do; the kinds of number and
// date are told apart, since each holds other values.
struct TypeRow {
    int code;
    const char* names;             // "|" between the names
    std::array<int, 3> odbcTypes;  // 0 fills the unused places
};

const TypeRow kTypes[] = {
    {TypeCode::SmallInt, "smallint|int2", {SQL_SMALLINT}},
    {TypeCode::Integer, "int|int4|integer|serial|mediumint", {SQL_INTEGER}},
    {TypeCode::UnsignedTinyInt, "tinyint", {SQL_TINYINT}},
    {TypeCode::BigInt, "bigint|int8|bigserial", {SQL_BIGINT}},
    {TypeCode::Boolean, "bit|bool|boolean", {SQL_BIT}},
    {TypeCode::Single, "real|float4", {SQL_REAL}},
    {TypeCode::Double, "float|float8|double|double precision", {SQL_FLOAT, SQL_DOUBLE}},
    {TypeCode::Currency, "money|smallmoney", {}},
    {TypeCode::Numeric, "numeric|decimal", {SQL_NUMERIC, SQL_DECIMAL}},
    {TypeCode::Date,
     "date|datetime|datetime2|smalldatetime|timestamp|timestamptz|timestamp without time "
     "zone|timestamp with time zone",
     {SQL_TYPE_DATE, SQL_TYPE_TIMESTAMP, SQL_DATETIME}},
    {TypeCode::DBTime, "time|timetz|time without time zone", {SQL_TYPE_TIME, SQL_TIME}},
    {TypeCode::DBTimeStamp, "datetimeoffset", {}},
    {TypeCode::Char, "char|bpchar|character", {SQL_CHAR}},
    {TypeCode::WChar, "nchar", {SQL_WCHAR}},
    {TypeCode::VarWChar,
     "varchar|nvarchar|text|character varying|varchar2|nvarchar2|clob|name|sysname",
     {SQL_VARCHAR, SQL_WVARCHAR, SQL_LONGVARCHAR}},
    {TypeCode::LongVarWChar, "ntext", {SQL_WLONGVARCHAR}},
    {TypeCode::Guid, "uniqueidentifier|uuid", {SQL_GUID}},
    // SQL Server's timestamp is a row version, not a date: its ODBC type
    // (binary) settles it before the name does.
    {TypeCode::Binary, "binary|rowversion", {SQL_BINARY}},
    {TypeCode::VarBinary, "varbinary|bytea|blob", {SQL_VARBINARY}},
    {TypeCode::LongVarBinary, "image", {SQL_LONGVARBINARY}},
};

// The days SQL Server's older date types hold, the first row that fits
// winning. FreeTDS names a smalldatetime "datetime" too: its size, 16
// characters to the minute where a datetime has 23, tells them apart.
struct DayRange {
    const char* name;
    qulonglong size;  // 0 for any
    QDate earliest, latest;
};

const DayRange kDayRanges[] = {
    {"smalldatetime", 0, QDate(1900, 1, 1), QDate(2079, 6, 6)},
    {"datetime", 16, QDate(1900, 1, 1), QDate(2079, 6, 6)},
    {"datetime", 0, QDate(1753, 1, 1), QDate(9999, 12, 31)},
};

struct Lookup {
    QHash<QString, int> byName;
    QHash<int, int> byOdbcType;
};

const Lookup& TypeLookup() {
    static const Lookup lookup = [] {
        Lookup l;
        for (const TypeRow& row : kTypes) {
            for (const QString& name : QString(row.names).split('|'))
                l.byName.insert(name, row.code);
            for (int odbc : row.odbcTypes)
                if (odbc != 0) l.byOdbcType.insert(odbc, row.code);
        }
        return l;
    }();
    return lookup;
}

// "NUMERIC(18,4)" -> "numeric", "int identity" -> "int".
QString BareTypeName(const QString& typeName) {
    QString name = typeName.section('(', 0, 0).simplified().toLower();
    if (name.endsWith(" identity")) name.chop(int(sizeof(" identity")) - 1);
    return name;
}

// SQLite's rules for a declared type it does not know by name.
int AffinityCode(const QString& name) {
    if (name.contains("int")) return TypeCode::BigInt;
    if (name.isEmpty() || name.contains("char") || name.contains("clob") || name.contains("text"))
        return TypeCode::VarWChar;
    if (name.contains("blob")) return TypeCode::VarBinary;
    if (name.contains("real") || name.contains("floa") || name.contains("doub"))
        return TypeCode::Double;
    return TypeCode::Numeric;
}

bool IsBinaryCode(int code) {
    return code == TypeCode::Binary || code == TypeCode::VarBinary ||
           code == TypeCode::LongVarBinary;
}

}  // namespace

int TypeCodeOf(const QString& typeName, int odbcSqlType) {
    const Lookup& lookup = TypeLookup();
    const auto byOdbcType = lookup.byOdbcType.constFind(odbcSqlType);
    const bool knownOdbcType = byOdbcType != lookup.byOdbcType.constEnd();
    const QString name = BareTypeName(typeName);
    // SQLite's integers have 64 bits, whatever the declaration calls them.
    if (odbcSqlType == 0 && (name == "integer" || name == "int")) return TypeCode::BigInt;
    if (const auto it = lookup.byName.constFind(name); it != lookup.byName.constEnd()) {
        // A binary column is binary whatever its name says.
        if (knownOdbcType && IsBinaryCode(*byOdbcType) && !IsBinaryCode(*it)) return *byOdbcType;
        return *it;
    }
    if (odbcSqlType == 0) return AffinityCode(name);
    // A type the mapping does not know (xml, sql_variant) is read as text,
    // which every driver can give.
    return knownOdbcType ? *byOdbcType : TypeCode::VarWChar;
}

ColumnLimits LimitsOf(const QString& typeName, int typeCode, const ReportedColumn& reported) {
    ColumnLimits limits;
    limits.nullable = reported.nullable;
    if (typeCode == TypeCode::Numeric || typeCode == TypeCode::Currency) {
        if (reported.declared) {
            // "NUMERIC(18,4)"; a bare NUMERIC sets no limit.
            const QStringList sizes =
                typeName.section('(', 1).section(')', 0, 0).split(',', Qt::SkipEmptyParts);
            limits.precision = sizes.value(0).trimmed().toInt();
            limits.scale = sizes.value(1).trimmed().toInt();
        } else {
            limits.precision = int(reported.size);
            limits.scale = reported.digits;
        }
    }
    if (reported.declared) return limits;
    const QString name = BareTypeName(typeName);
    for (const DayRange& range : kDayRanges) {
        if (name == QLatin1String(range.name) && (range.size == 0 || range.size == reported.size)) {
            limits.earliest = range.earliest;
            limits.latest = range.latest;
            break;
        }
    }
    return limits;
}
