#pragma once

#include <QString>
#include <QVariantList>
#include <memory>

#include "base/Recordset.h"

// A connection of the database client: the target database, the workbook's
// sheets, or the company directory. Failures raise AppError with the
// driver's own number and text.
class Connection {
public:
    virtual ~Connection() = default;
    // Runs a query and reads its whole result (values bound to "?" in order).
    virtual std::unique_ptr<Recordset> Open(const QString& sql,
                                            const QVariantList& params = {}) = 0;
    // The first value of a query's first record; null when it has none.
    virtual QVariant Scalar(const QString& sql) {
        const auto rs = Open(sql);
        return rs->Eof() || rs->FieldCount() == 0 ? QVariant() : rs->Value(0);
    }
    // Runs a statement that returns no rows.
    virtual void Execute(const QString& sql, const QVariantList& params = {}) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
