#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "database/Statement.h"

// A statement sent through the ODBC driver's own calls on the connection
// Qt opened. Qt's ODBC driver sends every text as VARCHAR in the server's
// code page when the driver is FreeTDS, so a Thai name in a Latin1 database
// cannot be written; here texts go out and come back as wide characters
// (NVARCHAR). A statement without values is sent as it stands, forward-only,
// so that no server cursor is opened for it.
class OdbcStatement : public Statement {
public:
    // connection: the ODBC connection handle. The server is given
    // timeoutSeconds to answer each run (0: no limit).
    OdbcStatement(void* connection, const QString& sql, bool prepared, int timeoutSeconds);
    ~OdbcStatement() override;
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    void Run(const QVariantList& params) override;
    QVector<Field> Describe(const Dialect& dialect) override;
    bool Next() override;
    QVariant Value(int column) override;
    int RowsAffected() override;
    void Finish() override;

    bool LeftConnectionUnfit() const override { return unfit_; }

private:
    struct Column {
        short sqlType = 0;
        QString name;
        qulonglong size = 0;  // characters, or digits of a number
        short digits = 0;     // after the point
        bool nullable = true;
    };
    [[noreturn]] void Fail(const char* what);
    void Bind(int index, const QVariant& value);
    void DescribeResult();

    void* statement_ = nullptr;
    QString sql_;
    bool prepared_;
    int timeoutSeconds_;
    bool unfit_ = false;
    std::vector<QByteArray> buffers_;  // the bound values, alive until the run ends
    std::vector<long> lengths_;        // their length indicators
    QVector<Column> columns_;
};
