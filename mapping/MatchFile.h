#pragma once

#include <QString>
#include <QStringList>

// A saved mapping: EXCEL/<name>.ini in the program folder, section
// [MatchField], TableName and Field_1..Field_n by sheet column position, and
// Name_1..Name_n, the sheet's column names, so that a sheet of another layout
// is noticed. Files saved before the names were kept have no Name_ keys.
struct MatchFile {
    QString tableName;
    QStringList fields;  // "TILL Field" of mapping row i, empty when unmapped
    QStringList names;   // "Excel Field" of mapping row i; empty when the file keeps none
};

// Why a match name cannot be used, or empty when it can: only the EXCEL
// folder is ever read or written, so folder separators and ".." are refused.
QString MatchNameProblem(const QString& name);

QString MatchFilePath(const QString& home, const QString& name);

// Writes the whole file anew; answers false when any write failed.
bool SaveMatchFile(const QString& path, const MatchFile& match);

// Reads the table name, the Name_ keys up to the first missing one, and as
// many Field_ keys as there are names or, when more, rows (missing ones empty).
MatchFile ReadMatchFile(const QString& path, int rows);
