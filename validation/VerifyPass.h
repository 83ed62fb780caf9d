#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "base/Field.h"

class Connection;
class Grid;

// Kinds of rejection: the verdict written for the row, and its cell colour.
struct ErrorKind {
    const char* verdict;
    int color;  // &HBBGGRR
};
inline constexpr ErrorKind kNullValue{"NULLVALUE", 0xC0C0FF};
inline constexpr ErrorKind kDuplicateValue{"DUPLICATEVALUE", 0xFFC0FF};
inline constexpr ErrorKind kOverMaxLength{"OVERMAXLENGTH", 0xC0E0FF};
inline constexpr ErrorKind kStringError{"STRINGERROR", 0xC0FFFF};
inline constexpr ErrorKind kInvalidValue{"INVALIDVALUE", 0xFFE0C0};
// Every kind, in the order of the legend's captions.
inline constexpr ErrorKind kErrorKinds[] = {kNullValue, kOverMaxLength, kStringError,
                                            kDuplicateValue, kInvalidValue};

struct VerifyInput {
    const Grid& mapping;        // the mapping grid
    QString table;              // TABLENAME
    QString sheet;              // sheet name without "$"
    QString query;              // the verify query over the sheet
    QVector<int> maxLength;     // per mapping row: 0 when the column was not found,
                                // NoLengthLimit when it takes any length
    QVector<Field> targets;     // per mapping row: the target column, with its limits
    QString verdictPathPrefix;  // home/EXCEL/<workbook>_Migrate_
};

struct VerifyTotals {
    bool errorsFound = false;
    int total = 0;
    int bad = 0;
    QStringList verdictFiles;  // the names of the verdict files written
};

// Checks every sheet record, leaves one row per rejected record in result
// (whose columns the caller has made), appends every record to the file of
// its verdict and answers the totals. progress receives "n of N" texts.
VerifyTotals RunVerifyPass(Connection& excel, Grid& result, const VerifyInput& input,
                           const std::function<void(int position, int count)>& progress);

// Why a value Start gives a column without a sheet cell (a default of
// GSETUP.ini) cannot go into it, or empty: the checks of a cell of that
// column, by its length (0 when the table lacks the column), the characters
// a code may hold and the column's own rules.
QString ValueProblem(const QString& column, const QString& value, const Field& target,
                     int maxLength);
