#pragma once

#include <QDate>
#include <QString>

// The database client's data-type codes that the program relies on; the
// full mapping from each engine's column types lives with the connections.
namespace TypeCode {
constexpr int SmallInt = 2;
constexpr int Integer = 3;
constexpr int Single = 4;
constexpr int Double = 5;
constexpr int Currency = 6;
constexpr int Date = 7;
constexpr int Boolean = 11;
constexpr int Decimal = 14;
constexpr int TinyInt = 16;
constexpr int UnsignedTinyInt = 17;
constexpr int BigInt = 20;
constexpr int Guid = 72;
constexpr int Binary = 128;
constexpr int Char = 129;
constexpr int WChar = 130;
constexpr int Numeric = 131;
constexpr int DBDate = 133;
constexpr int DBTime = 134;
constexpr int DBTimeStamp = 135;
constexpr int VarChar = 200;
constexpr int LongVarChar = 201;
constexpr int VarWChar = 202;
constexpr int LongVarWChar = 203;
constexpr int VarBinary = 204;
constexpr int LongVarBinary = 205;
}  // namespace TypeCode

// The kinds of column the type codes fall into.
inline bool IsIntegerType(int t) {
    return t == TypeCode::SmallInt || t == TypeCode::Integer || t == TypeCode::BigInt ||
           t == TypeCode::TinyInt || t == TypeCode::UnsignedTinyInt;
}
inline bool IsRealType(int t) {
    return t == TypeCode::Single || t == TypeCode::Double || t == TypeCode::Currency ||
           t == TypeCode::Decimal || t == TypeCode::Numeric;
}
inline bool IsBinaryType(int t) {
    return t == TypeCode::Binary || t == TypeCode::VarBinary || t == TypeCode::LongVarBinary;
}
inline bool IsDateType(int t) {
    return t == TypeCode::Date || t == TypeCode::DBDate || t == TypeCode::DBTimeStamp ||
           t == TypeCode::DBTime;
}

// A type code as the operator reads it: "Text", "Number", "Date", "Yes/No"
// or "Binary".
inline QString TypeWord(int t) {
    if (IsIntegerType(t) || IsRealType(t)) return "Number";
    if (IsDateType(t)) return "Date";
    if (t == TypeCode::Boolean) return "Yes/No";
    if (IsBinaryType(t)) return "Binary";
    return "Text";
}

// What a target column can hold beyond its type, as its engine describes
// it. The defaults set no limit: a sheet's columns and a column an engine
// says nothing of.
struct ColumnLimits {
    int precision = 0;       // digits of an exact number; 0 for no limit
    int scale = 0;           // of those, the digits after the point
    QDate earliest, latest;  // the days a date column holds; null for any
    bool nullable = true;
};

// A column of a recordset: the name it is read under, its type code and,
// for a target column, its limits.
struct Field {
    QString name;
    int type = TypeCode::VarWChar;
    ColumnLimits limits;
};
