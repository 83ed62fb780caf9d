#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "base/TextUtil.h"

class Grid;

// What a target table needs: the columns that find an existing record, the
// columns a sheet must map before Verify, and the columns the import fills
// itself when nothing is mapped to them.
struct TableRules {
    std::array<QString, 3> keyFields;
    QStringList mustFill;
    QStringList mustDefault;
};

// The rules of a table, by its exact name; no rules for any other name.
TableRules RulesFor(const QString& tableName);

// Row height that shows a rule row; 0 hides it.
inline constexpr int kShownRowHeight = 20;

// Shows every must-fill row, hides those the mapping's "TILL Field" column
// covers, and answers the shown ones joined by "," (BlankFillFields).
QString HideCoveredMustFill(Grid& mustFill, const Grid& mapping);

struct DefaultFields {
    QString list;  // ",A,B": each shown entry preceded by ","
    int count = 0;
};

// The same for the must-default rows; a column mapped as PLUCODE covers the
// entry "ITEMCODE AS PLUCODE". The count is of the shown rows.
DefaultFields HideCoveredMustDefault(Grid& mustDefault, const Grid& mapping);
