#include "TableWriter.h"

#include "../app/AppError.h"
#include "DbSession.h"

namespace {

// The database client's number when the record to update is gone.
constexpr qint32 kRowNotFound = -2147217864;

bool IsIdentity(const QString& column) { return column.compare("ID", Qt::CaseInsensitive) == 0; }

bool Differs(const QVariant& a, const QVariant& b) {
    return a.isNull() != b.isNull() || (!a.isNull() && a != b);
}

// A value of the field's type; a null keeps the type so that drivers bind
// it as a null of the column's kind, not as a null text.
QVariant Typed(const Field& field, const QVariant& value) {
    return value.isNull() ? QVariant(StoredType(field.type)) : value;
}

}  // namespace

int IndexOfColumn(const QStringList& columns, const QString& column) {
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

TableWriter::TableWriter(std::shared_ptr<DbSession> session, TableQuery query, QStringList columns,
                         QVector<Field> fields, QVector<int> keyFields)
    : session_(std::move(session)),
      query_(std::move(query)),
      columns_(std::move(columns)),
      fields_(std::move(fields)),
      keyFields_(std::move(keyFields)) {}

void TableWriter::Save(const QVector<Field>& fields, const Recordset::Row& original,
                       const Recordset::Row& current) {
    const bool added = original.isEmpty();
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < fields.size(); ++i) {
        const QString& column = columns_[i];
        const bool write = added ? !current[i].isNull() : Differs(original[i], current[i]);
        // Two fields reading one column write it once, from the first.
        if (!write || IsIdentity(column) || IndexOfColumn(columns, column) >= 0) continue;
        columns << column;
        values << Typed(fields[i], current[i]);
    }
    const Dialect& dialect = session_->SqlDialect();
    if (added) {
        session_->Execute(InsertCall(dialect, query_.table, columns, values));
        return;
    }
    if (columns.isEmpty()) return;
    Criteria where = query_.where;
    if (!keyFields_.isEmpty()) {
        where.clear();
        for (int k : keyFields_) where.append({columns_[k], original[k]});
    }
    if (session_->Execute(UpdateCall(dialect, query_.table, columns, values, where)) == 0)
        throw AppError(kRowNotFound,
                       "Row cannot be located for updating. Some values may have been changed "
                       "since it was last read.");
}

QVector<Recordset::Row> TableWriter::Reread() {
    return session_->Query(SelectCall(session_->SqlDialect(), query_), &fields_).rows;
}
