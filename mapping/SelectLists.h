#pragma once

#include <QString>

class Grid;

// The column lists that read the sheet under the target columns' names.
// Element k of sheet and of target name the same mapped column. Every name
// given to the sheet engine is bracketed by BracketName, whatever it holds.
struct SelectLists {
    QString sheetBom;  // "[E] As [TILL-F]" for every complete mapping row
    QString sheet;     // the same without the TYPE row of a bill of material
    QString target;    // the target columns of sheet's rows
};

// A mapping row is complete when its "Excel Field" and "TILL Field" are both set.
SelectLists BuildSelectLists(const Grid& mapping, const QString& table);

// "[E]" for every mapping row, complete or not, joined by ",".
QString SheetColumnList(const Grid& mapping);

// The query of the verify pass and of the insert pass over sheet S.
QString VerifyQuery(const QString& table, const QString& sheet, const SelectLists& lists,
                    const QString& sheetColumnList);
QString InsertQuery(const QString& table, const QString& sheet, const SelectLists& lists);

// The mapped "TILL Field" texts as string literals (SqlLiteral), joined by
// ",", but for any holding a NUL, which names no column.
QString UsedFieldList(const Grid& mapping);

// The second table whose columns are offered with the first, or empty.
QString PairedTable(const QString& table);
