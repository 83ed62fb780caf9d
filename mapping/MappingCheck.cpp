#include "mapping/MappingCheck.h"

#include <algorithm>

#include "base/Grid.h"
#include "base/TextUtil.h"

QString MappedRowProblem(const Grid& mapping, int row, const QString& table,
                         const QStringList& tillFields) {
    const QString field = ColumnKey(mapping.CellText(row, 1));
    if (field.isEmpty()) return {};
    const QString excel = mapping.CellText(row, 0);
    const bool known = std::any_of(tillFields.cbegin(), tillFields.cend(),
                                   [&](const QString& f) { return ColumnKey(f) == field; });
    if (!tillFields.isEmpty() && !known)
        return QString("%1 is not a TILL field of %2 (Excel field %3) !!!")
            .arg(field, table, excel);
    for (int other = 0; other < mapping.Rows(); ++other)
        if (other != row && ColumnKey(mapping.CellText(other, 1)) == field)
            return QString("TILL field %1 is mapped from two Excel fields, %2 and %3 !!!")
                .arg(field, mapping.CellText(std::min(row, other), 0),
                     mapping.CellText(std::max(row, other), 0));
    return {};
}

QString TillFieldSpelling(const QString& name, const QStringList& tillFields) {
    const QString key = ColumnKey(name);
    for (const QString& field : tillFields)
        if (ColumnKey(field) == key) return field;
    return name.trimmed();
}

QString MappingProblem(const Grid& mapping, const QString& table, const QStringList& tillFields) {
    for (int row = 0; row < mapping.Rows(); ++row)
        if (QString problem = MappedRowProblem(mapping, row, table, tillFields); !problem.isEmpty())
            return problem;
    return {};
}
