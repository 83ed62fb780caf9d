#pragma once

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

// A column of a recordset: the name it is read under and its type code.
struct Field {
    QString name;
    int type = TypeCode::VarWChar;
};
