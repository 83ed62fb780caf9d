#pragma once

#include <QVariant>
#include <QVector>

#include "base/Field.h"
#include "database/Dialect.h"

// One statement on a session's connection, however its driver is reached:
// prepared once and run with values again and again, or sent as it stands.
// Failures raise AppError.
class Statement {
public:
    virtual ~Statement() = default;
    // Runs the statement with its values bound to its "?" in order.
    virtual void Run(const QVariantList& params) = 0;
    // The columns of the result with their type codes, named as the
    // dialect shows them.
    virtual QVector<Field> Describe(const Dialect& dialect) = 0;
    // Steps to the next row of the result; false past the last.
    virtual bool Next() = 0;
    // A value of the current row, null for SQL NULL.
    virtual QVariant Value(int column) = 0;
    // How many rows the statement changed.
    virtual int RowsAffected() = 0;
    // Lets go of the result, so that the connection takes the next statement.
    virtual void Finish() = 0;
    // Whether the last failure left the connection unfit for another
    // statement: the server's time ran out, or the connection was lost.
    virtual bool LeftConnectionUnfit() const { return false; }
};
