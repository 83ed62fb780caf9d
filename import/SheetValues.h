#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include "Recordset.h"

class DbConnection;

// What the import rules of one sheet record work with.
struct RecordContext {
    DbConnection& db;
    const Recordset& sheet;  // positioned on the current sheet record
    Recordset& target;       // the target record being written
    QString table;           // TABLENAME
    QString home;            // program folder, for GSETUP.ini
    QDate today;

    // V(X): the value of the sheet field "TILL-" + X; a missing field raises.
    QVariant V(const QString& column) const { return sheet.Value("TILL-" + column); }
};

// The first n characters of a value's text; a null stays null.
QVariant Left(const QVariant& value, int n);

// The text of a value that must have one: a null raises, naming the column.
QString TextOf(const RecordContext& r, const QString& column);
