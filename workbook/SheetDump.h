#pragma once

#include <QString>
#include <QTextStream>

class Connection;

// A value as one dump field: "\", tab, carriage return and line feed are
// written "\\", "\t", "\r", "\n", so that a record stays on one line.
QString DumpField(const QString& text);

// The sheet as the program reads it ("Select * From [sheet$]"): the column
// names, then one line a record, values as text separated by tabs, a null
// as the empty text.
void WriteSheetDump(Connection& workbook, const QString& sheet, QTextStream& out);

// One line a sheet column: its name (escaped as a dump field), a tab, its
// type code.
void WriteSheetColumns(Connection& workbook, const QString& sheet, QTextStream& out);
