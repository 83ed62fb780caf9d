#include "database/TableWriter.h"

#include "base/AppError.h"
#include "database/DbSession.h"

namespace {

// The database client's number when the record to update is gone.
constexpr qint32 kRowNotFound = -2147217864;
// Statement texts kept per shape; more are let go all at once.
constexpr int kMaxWriteTexts = 256;

bool Differs(const QVariant& a, const QVariant& b) {
    return a.isNull() != b.isNull() || (!a.isNull() && a != b);
}

// A value of the field's type; a null keeps the type so that drivers bind
// it as a null of the column's kind, not as a null text.
QVariant Typed(const Field& field, const QVariant& value) {
    return value.isNull() ? QVariant(StoredType(field.type)) : value;
}

}  // namespace

TableWriter::TableWriter(std::shared_ptr<DbSession> session, std::shared_ptr<TableShape> shape,
                         Criteria where)
    : session_(std::move(session)), shape_(std::move(shape)), where_(std::move(where)) {}

void TableWriter::Save(const QVector<Field>& fields, const Recordset::Row& original,
                       const Recordset::Row& current) {
    const bool added = original.isEmpty();
    QByteArray key(1, added ? 'I' : 'U');
    QVariantList values;
    for (int i = 0; i < fields.size(); ++i) {
        const bool write = shape_->writable[i] &&
                           (added ? !current[i].isNull() : Differs(original[i], current[i]));
        key += write ? '1' : '0';
        if (write) values << Typed(fields[i], current[i]);
    }
    if (added) {
        session_->Execute({WriteText(key, {}), values});
        return;
    }
    if (values.isEmpty()) return;
    Criteria where = where_;
    if (!shape_->keyFields.isEmpty()) {
        where.clear();
        for (int k : shape_->keyFields) where.append({shape_->columns[k], original[k]});
    }
    for (const auto& criterion : where) key += criterion.second.isNull() ? 'n' : 'v';
    if (session_->Execute({WriteText(key, where), values + BoundValues(where)}) == 0)
        throw AppError(kRowNotFound,
                       "Row cannot be located for updating. Some values may have been changed "
                       "since it was last read.");
}

const QString& TableWriter::WriteText(const QByteArray& key, const Criteria& where) {
    QHash<QByteArray, QString>& texts = shape_->writes;
    if (const auto it = texts.constFind(key); it != texts.constEnd()) return *it;
    if (texts.size() >= kMaxWriteTexts) texts.clear();
    QStringList columns;
    for (int i = 0; i < shape_->columns.size(); ++i)
        if (key[1 + i] == '1') columns << shape_->columns[i];
    const Dialect& dialect = session_->SqlDialect();
    return *texts.insert(key, key[0] == 'I' ? InsertSql(dialect, shape_->table, columns)
                                            : UpdateSql(dialect, shape_->table, columns, where));
}

QVector<Recordset::Row> TableWriter::Reread() {
    return session_->Query({shape_->selectSql, BoundValues(where_)}, &shape_->fields).rows;
}
