#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>

#include "base/Recordset.h"

class CompanionStage;
class DbConnection;

// A value's text form (ValueText); a null stays null.
QVariant AsText(const QVariant& value);

// What the import rules of one sheet record work with.
struct RecordContext {
    DbConnection& db;
    const Recordset& sheet;  // positioned on the current sheet record
    Recordset& target;       // the target record being written
    QString table;           // TABLENAME
    // GSETUP.ini's section DEFAULTDEFCODE, read once a pass.
    const QHash<QString, QString>& setupCodes;
    QDate today;
    // Where a pass that writes the sheet as a set collects the companion
    // records; null when each record writes its own.
    CompanionStage* companions = nullptr;

    // V(X): the value of the sheet field "TILL-" + X; a missing field raises.
    QVariant V(const QString& column) const { return sheet.Value("TILL-" + column); }
    // V(X) of a code column as the text it is stored as: a code read from a
    // number cell is written and looked up as "1002", never as the number
    // 1002, which a text column compared with it would not match.
    QVariant Code(const QString& column) const { return AsText(V(column)); }
};

// The first n characters of a value's text; a null stays null.
QVariant Left(const QVariant& value, int n);

// The text of a value that must have one: a null raises, naming the column.
QString TextOf(const RecordContext& r, const QString& column);
