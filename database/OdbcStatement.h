#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "database/Statement.h"

// A statement sent through the ODBC driver's own calls on the connection
// Qt opened. Qt's ODBC driver sends every text as VARCHAR in the server's
// code page when the driver is FreeTDS, so a Thai name in a Latin1 database
// cannot be written; here texts go out and come back as wide characters
// (NVARCHAR). A statement without values is sent as it stands, forward-only,
// so that no server cursor is opened for it.
// A prepared statement keeps its values' bindings from run to run and only
// refills their buffers: the driver prepares the statement again whenever a
// value is bound anew, resending its text and declarations.
class OdbcStatement : public Statement {
public:
    // How texts go to the server.
    enum class Texts {
        Wide,  // always NVARCHAR
        // VARCHAR while every text of the statement is plain ASCII, which
        // every code page holds, so that a varchar key's index can be
        // sought; NVARCHAR from the first other text on.
        NarrowWhileAscii,
    };
    // connection: the ODBC connection handle. The server is given
    // timeoutSeconds to answer each run (0: no limit).
    OdbcStatement(void* connection, const QString& sql, bool prepared, int timeoutSeconds,
                  Texts texts = Texts::Wide);
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
    // How a value is bound: its C and SQL types and declared size.
    struct Binding {
        short cType = 0;
        short sqlType = 0;
        qulonglong size = 0;
        short digits = 0;
        bool operator==(const Binding&) const = default;
    };
    // A bound value: its buffer, with room for longer values, and length.
    struct Slot {
        Binding binding;
        QByteArray buffer;
        long length = 0;
    };
    struct Column {
        short sqlType = 0;
        QString name;
        qulonglong size = 0;  // characters, or digits of a number
        short digits = 0;     // after the point
        bool nullable = true;
    };
    [[noreturn]] void Fail(const char* what);
    // The binding and bytes of a value.
    std::pair<Binding, QByteArray> Encode(const QVariant& value) const;
    void Bind(Slot& slot, int index, const QVariant& value);
    void DescribeResult();

    void* statement_ = nullptr;
    QString sql_;
    bool prepared_;
    int timeoutSeconds_;
    bool unfit_ = false;
    bool wide_;                // texts go as NVARCHAR
    std::vector<Slot> slots_;  // the bound values; the driver holds their addresses
    QVector<Column> columns_;
};
