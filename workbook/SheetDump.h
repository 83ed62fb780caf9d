#pragma once

#include <QString>
#include <QTextStream>

class Connection;

// The sheet as the program reads it ("Select * From [sheet$]"): the column
// names, then one line a record, values as text separated by tabs, a null
// as the empty text; names and values escaped as LineField escapes them.
void WriteSheetDump(Connection& workbook, const QString& sheet, QTextStream& out);

// One line a sheet column: its name (escaped as LineField escapes it), a
// tab, its type code.
void WriteSheetColumns(Connection& workbook, const QString& sheet, QTextStream& out);
