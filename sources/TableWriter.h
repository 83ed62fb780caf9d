#pragma once

#include <QStringList>
#include <memory>

#include "Recordset.h"
#include "TableQuery.h"

class DbSession;

// Saves the records of a recordset read from one table (a TableQuery):
// only the fields that changed, to the record that was read, found by its
// primary key (keyFields: the fields holding it, in key order) or, when
// they are empty, by the query's criteria. A new record gets the fields
// that were set. Each field writes its column (columns, in field order);
// the identity column ID is never written.
class TableWriter : public RecordWriter {
public:
    TableWriter(std::shared_ptr<DbSession> session, TableQuery query, QStringList columns,
                QVector<Field> fields, QVector<int> keyFields);

    void Save(const QVector<Field>& fields, const Recordset::Row& original,
              const Recordset::Row& current) override;
    QVector<Recordset::Row> Reread() override;

private:
    std::shared_ptr<DbSession> session_;
    TableQuery query_;
    QStringList columns_;
    QVector<Field> fields_;
    QVector<int> keyFields_;
};

// Position of the column in the list, letter case ignored, or -1.
int IndexOfColumn(const QStringList& columns, const QString& column);
