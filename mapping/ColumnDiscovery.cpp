#include "mapping/ColumnDiscovery.h"

#include "base/Grid.h"
#include "base/TextUtil.h"
#include "database/Dialect.h"
#include "mapping/SelectLists.h"

QString ColumnQuery(const Dialect& dialect, const QString& table, const QString& mode,
                    const QString& usedFieldList) {
    const QString notIn = mode.isEmpty() ? usedFieldList : QString();
    QString query = dialect.ColumnListQuery(table, notIn);
    if (const QString second = PairedTable(table); !second.isEmpty())
        query += dialect.UnionAll() + dialect.ColumnListQuery(second, notIn);
    return query;
}

void RecordColumnLength(const QString& column, int length, const Grid& mapping,
                        const QString& table, QVector<int>& maxLength) {
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString f = ColumnKey(mapping.CellText(i, 1));
        if (table == "INVT_MT_BOM" && f == "TYPE")
            maxLength[i] = 1;
        else if (f == ColumnKey(column))
            maxLength[i] = length;
    }
}

bool IsOffered(const QString& column) { return ColumnKey(column) != "ID"; }
