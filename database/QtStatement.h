#pragma once

#include <QSqlQuery>

#include "database/Statement.h"

// A statement through Qt's own driver: the SQLite file's way.
class QtStatement : public Statement {
public:
    QtStatement(const QSqlDatabase& db, const QString& sql, bool prepared);

    void Run(const QVariantList& params) override;
    QVector<Field> Describe(const Dialect& dialect) override;
    bool Next() override;
    QVariant Value(int column) override;
    int RowsAffected() override;
    void Finish() override;

private:
    QSqlQuery query_;
    QString sql_;
    bool prepared_;
};
