#include "database/TableQuery.h"

namespace {

void AppendWhere(const Dialect& dialect, const Criteria& where, SqlCall& call) {
    QStringList terms;
    for (const auto& [column, value] : where)
        terms << dialect.Quote(column) + (value.isNull() ? " Is Null" : " = ?");
    call.params += BoundValues(where);
    if (!terms.isEmpty()) call.sql += " Where " + terms.join(" And ");
}

}  // namespace

QVariantList BoundValues(const Criteria& where) {
    QVariantList values;
    for (const auto& [column, value] : where)
        if (!value.isNull()) values << value;
    return values;
}

SelectItem ParseSelectItem(const QString& item) {
    const QString text = item.trimmed();
    const qsizetype as = text.indexOf(" as ", 0, Qt::CaseInsensitive);
    if (as < 0) return {text, text};
    return {text.left(as).trimmed(), text.mid(as + 4).trimmed()};
}

SqlCall SelectCall(const Dialect& dialect, const TableQuery& query) {
    QStringList items;
    for (const QString& c : query.columns) {
        const SelectItem item = ParseSelectItem(c);
        items << (item.name == item.column
                      ? dialect.Quote(item.column)
                      : dialect.Quote(item.column) + " As " + dialect.Quote(item.name));
    }
    SqlCall call;
    call.sql = "Select " + (items.isEmpty() ? QString("*") : items.join(", ")) + " From " +
               dialect.Quote(query.table);
    AppendWhere(dialect, query.where, call);
    return call;
}

QString InsertSql(const Dialect& dialect, const QString& table, const QStringList& columns) {
    if (columns.isEmpty()) return "Insert Into " + dialect.Quote(table) + " Default Values";
    QStringList quoted;
    for (const QString& c : columns) quoted << dialect.Quote(c);
    return "Insert Into " + dialect.Quote(table) + " (" + quoted.join(", ") + ") Values (" +
           QStringList(columns.size(), "?").join(", ") + ")";
}

QString UpdateSql(const Dialect& dialect, const QString& table, const QStringList& columns,
                  const Criteria& where) {
    QStringList sets;
    for (const QString& c : columns) sets << dialect.Quote(c) + " = ?";
    SqlCall call{"Update " + dialect.Quote(table) + " Set " + sets.join(", "), {}};
    AppendWhere(dialect, where, call);
    return call.sql;
}

QString CopyColumnsSql(const Dialect& dialect, const QString& table, const Criteria& where,
                       const KeyedRecord& source, const QStringList& columns) {
    const QString from = " From " + dialect.Quote(source.table) + " Where " +
                         dialect.Quote(source.keyColumn) + " = ?";
    QStringList quoted;
    for (const QString& c : columns) quoted << dialect.Quote(c);
    // SQL Server sets no column list from one subquery: each column gets its own.
    QStringList sets;
    if (dialect.Kind() == Engine::SqlServer) {
        for (const QString& c : quoted) sets << c + " = (Select " + c + from + ")";
    } else {
        const QString list = quoted.join(", ");
        sets << "(" + list + ") = (Select " + list + from + ")";
    }
    SqlCall call{"Update " + dialect.Quote(table) + " Set " + sets.join(", "), {}};
    AppendWhere(dialect, where, call);
    return call.sql + (where.isEmpty() ? " Where" : " And") + " Exists (Select 1" + from + ")";
}

QVariantList CopyColumnsParams(const Dialect& dialect, const Criteria& where,
                               const KeyedRecord& source, const QStringList& columns) {
    QVariantList params(dialect.Kind() == Engine::SqlServer ? columns.size() : 1, source.key);
    params += BoundValues(where);
    params << source.key;
    return params;
}
