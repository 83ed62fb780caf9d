#pragma once

#include <QString>
#include <QStringList>

// A saved mapping: EXCEL/<name>.ini in the program folder, section
// [MatchField], TableName and Field_1..Field_n by sheet column position.
struct MatchFile {
    QString tableName;
    QStringList fields;  // "TILL Field" of mapping row i, empty when unmapped
};

// Why a match name cannot be used, or empty when it can: only the EXCEL
// folder is ever read or written, so folder separators and ".." are refused.
QString MatchNameProblem(const QString& name);

QString MatchFilePath(const QString& home, const QString& name);

// Writes the whole file anew; answers false when any write failed.
bool SaveMatchFile(const QString& path, const MatchFile& match);

// Reads the table name and the first rows Field_ keys (missing ones empty).
MatchFile ReadMatchFile(const QString& path, int rows);
