#include "database/QtStatement.h"

#include <QSqlError>

#include "database/DbError.h"
#include "database/DriverHandles.h"

QtStatement::QtStatement(const QSqlDatabase& db, const QString& sql, bool prepared)
    : query_(db), sql_(sql), prepared_(prepared) {
    query_.setForwardOnly(true);
    if (prepared_ && !query_.prepare(sql_)) throw DbFailure(query_.lastError());
}

void QtStatement::Run(const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i) query_.bindValue(i, params[i]);
    if (prepared_ ? query_.exec() : query_.exec(sql_)) return;
    const QSqlError error = query_.lastError();
    query_.finish();
    throw DbFailure(error);
}

QVector<Field> QtStatement::Describe(const Dialect& dialect) {
    return DescribeColumns(query_, dialect);
}

bool QtStatement::Next() {
    if (query_.next()) return true;
    if (query_.lastError().isValid()) throw DbFailure(query_.lastError());
    return false;
}

QVariant QtStatement::Value(int column) { return query_.value(column); }

int QtStatement::RowsAffected() { return query_.numRowsAffected(); }

void QtStatement::Finish() { query_.finish(); }
