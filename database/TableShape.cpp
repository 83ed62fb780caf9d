#include "database/TableShape.h"

namespace {
bool IsIdentity(const QString& column) { return column.compare("ID", Qt::CaseInsensitive) == 0; }
}  // namespace

int IndexOfColumn(const QStringList& columns, const QString& column) {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString ShapeKey(const TableQuery& query) {
    QString key = query.table + '\n' + query.columns.join('\n') + '\n';
    for (const auto& [column, value] : query.where)
        key += column + (value.isNull() ? " null\n" : "\n");
    return key;
}

std::shared_ptr<TableShape> MakeShape(const TableQuery& query, const QString& selectSql,
                                      const QVector<Field>& fields, const QStringList& primaryKey) {
    auto shape = std::make_shared<TableShape>();
    shape->table = query.table;
    shape->selectSql = selectSql;
    shape->fields = fields;
    for (int i = 0; i < fields.size(); ++i) {
        if (query.columns.isEmpty()) {
            shape->columns << fields[i].name;
            continue;
        }
        const SelectItem item = ParseSelectItem(query.columns[i]);
        shape->columns << item.column;
        shape->fields[i].name = item.name;
    }
    for (const QString& key : primaryKey) {
        const int i = IndexOfColumn(shape->columns, key);
        if (i < 0) {
            shape->keyFields.clear();
            break;
        }
        shape->keyFields << i;
    }
    // Two fields reading one column write it once, from the first.
    for (int i = 0; i < fields.size(); ++i)
        shape->writable << (!IsIdentity(shape->columns[i]) &&
                            IndexOfColumn(shape->columns, shape->columns[i]) == i);
    return shape;
}
