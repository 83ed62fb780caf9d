#pragma once

#include <QString>
#include <QVector>
#include <memory>

class Recordset;
struct SheetTable;

// A query that only picks whole columns of one sheet by their quoted names,
// each under its own name or another: "Select [A], [B] As [X] From [S$]",
// or "Select * From [S$] Where 1 = 0" for the columns without rows. The
// sheet's values answer it as they stand, without the SQL engine.
struct SheetProjection {
    struct Item {
        bool all = false;  // "*": every column in sheet order
        QString column;
        QString name;  // the name it is read under; empty for the column's own
    };
    QString table;
    QVector<Item> items;
    bool noRows = false;
};

// The rows the SQL engine would give for the projection: the same names,
// type codes and values, read from the sheet's table as they are asked for.
// Null when it names a column the sheet lacks, for the engine to say so.
std::unique_ptr<Recordset> ProjectSheet(std::shared_ptr<const SheetTable> sheet,
                                        const SheetProjection& p);
