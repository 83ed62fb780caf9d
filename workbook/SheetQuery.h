#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <optional>

#include "workbook/SheetProjection.h"

// A query over the sheets as the sheet engine prepares it. The duplicate
// checks send one query per cell that differs only in the compared value, so
// a value right after "=" becomes a parameter and the prepared statement
// serves them all.
struct SheetQuery {
    // One parameter of the prepared text: the caller's next "?" value, or a
    // value taken out of the query text.
    struct Bind {
        bool fromCaller = false;
        QVariant literal;
    };

    QString text;                 // what SQLite prepares
    QVector<Bind> binds;          // in the order of the "?" in text
    QStringList names;            // every identifier: the tables it may read
    QStringList comparedColumns;  // E of every "[E]=": worth an index
    QStringList cstrColumns;      // E of every "CStr([E])=", in order: one index on all
};

// The case-folding collation that sheet text is compared with; a function's
// result has none in SQLite, so every "CStr(...)" gets it attached here.
constexpr const char* kFoldCollation = "CASEFOLD";

// The whole analysis, for the first time a statement is made.
SheetQuery AnalyzeSheetQuery(const QString& sql);
// Only the text and its parameters (no names), all a statement made before
// needs: the duplicate checks send thousands that differ only in values.
SheetQuery ParameterizeSheetQuery(const QString& sql);

// The projection a query is, or none for any other query.
std::optional<SheetProjection> ProjectionOf(const QString& sql);

// A sheet's or a column's name as the SQL engine declares and reads it: in
// double quotes, which SQLite reads whatever the name holds but a NUL, and
// with each NUL written as a stand-in character. A bracketed name SQLite
// cannot read as written ("[a]]b]", a NUL) is given to it so.
QString EngineQuoted(const QString& name);
// The name the engine reports (a column's, a table's) as the sheet has it.
QString NameFromEngine(const QString& declared);

// A name as SQLite matches table and column names: ASCII letters in either case.
QString SqlNameKey(QString name);
