#include "mapping/ColumnDiscovery.h"

#include <QSet>

#include "base/Grid.h"
#include "base/Recordset.h"
#include "base/TextUtil.h"
#include "database/DbConnection.h"
#include "database/Dialect.h"
#include "database/TableShape.h"
#include "mapping/Catalogue.h"
#include "mapping/SelectLists.h"

QString ColumnQuery(const Dialect& dialect, const QString& table, ColumnListing listing,
                    const QString& usedFieldList) {
    const QString notIn = listing == ColumnListing::Unused ? usedFieldList : QString();
    QString query = dialect.ColumnListQuery(table, notIn);
    if (const QString second = PairedTable(table); !second.isEmpty())
        query += dialect.UnionAll() + dialect.ColumnListQuery(second, notIn);
    return query;
}

QList<TargetColumn> ReadTargetColumns(DbConnection& db, const QString& table, ColumnListing listing,
                                      const QString& usedFieldList) {
    const Dialect& dialect = db.SqlDialect();
    const auto rs = db.Open(ColumnQuery(dialect, table, listing, usedFieldList));
    QList<TargetColumn> columns;
    for (; !rs->Eof(); rs->MoveNext()) {
        const QVariant length = rs->Value(2);
        columns.append({rs->Value(0).toString(),
                        length.isNull()
                            ? NoLengthLimit
                            : dialect.CharacterLength(length.toInt(), rs->Value(1).toInt())});
    }
    return columns;
}

QVector<Field> ReadTargetFields(DbConnection& db, const QString& table, const QStringList& names,
                                const QString& keyColumn) {
    QVector<Field> fields(names.size());
    QSet<QString> present;
    {
        const auto rs = db.Open(db.SqlDialect().ColumnListQuery(table, {}));
        for (; !rs->Eof(); rs->MoveNext()) present.insert(ColumnKey(rs->Value(0).toString()));
    }
    QStringList columns;
    for (const QString& name : names)
        if (const QString f = ColumnKey(name); present.contains(f) && !columns.contains(f))
            columns << f;
    if (columns.isEmpty() || keyColumn.isEmpty()) return fields;
    const auto shape = db.Shape({table, columns, {{keyColumn, QVariant()}}});
    for (int i = 0; i < names.size(); ++i)
        if (const int at = columns.indexOf(ColumnKey(names[i])); at >= 0)
            fields[i] = shape->fields[at];
    return fields;
}

void RecordColumnLength(const QString& column, int length, const Grid& mapping,
                        const QString& table, QVector<int>& maxLength) {
    for (int i = 0; i < mapping.Rows(); ++i) {
        const QString f = ColumnKey(mapping.CellText(i, 1));
        if (table == Table::kBom && f == "TYPE")
            maxLength[i] = 1;
        else if (f == ColumnKey(column))
            maxLength[i] = length;
    }
}

bool IsOffered(const QString& column) { return ColumnKey(column) != "ID"; }
