#pragma once

#include <memory>

#include "base/Recordset.h"
#include "database/TableQuery.h"
#include "database/TableShape.h"

class DbSession;

// Saves the records of a recordset read from one table: only the fields
// that changed, to the record that was read, found by its primary key
// (the shape's key fields) or, when it has none, by the query's criteria.
// A new record gets the fields that were set. Each field writes its
// column; the identity column ID is never written.
class TableWriter : public RecordWriter {
public:
    TableWriter(std::shared_ptr<DbSession> session, std::shared_ptr<TableShape> shape,
                Criteria where);

    void Save(const QVector<Field>& fields, const Recordset::Row& original,
              const Recordset::Row& current) override;
    QVector<Recordset::Row> Reread() override;

private:
    // The statement text kept under key: 'I' or 'U', then a byte a field,
    // '1' when it is written, then a byte a criterion, 'n' when null.
    const QString& WriteText(const QByteArray& key, const Criteria& where);

    std::shared_ptr<DbSession> session_;
    std::shared_ptr<TableShape> shape_;
    Criteria where_;
};
