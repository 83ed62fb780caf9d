#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>

#include "base/AppError.h"
#include "base/Connection.h"
#include "workbook/SheetTable.h"

class Book;
struct SheetQuery;
struct sqlite3;
struct sqlite3_stmt;

// The workbook as a read-only database: each worksheet is the table
// sheet name + "$" ("Select * From [Sheet1$]") in an in-memory SQLite
// database, with the columns the queries read loaded as they first read
// them; a query that only picks columns is answered from the sheet's values
// without it (the verify and insert passes read whole sheets so). Text is compared without
// regard to letter case, for every letter; CStr(x) gives a value's text.
// The columns a query compares with "=" get an index the first time, so the
// per-cell duplicate counts do not scan the sheet.
class SheetConnection : public Connection {
public:
    // Opens the workbook; refuses it with an AppError that says why.
    static std::unique_ptr<SheetConnection> OpenWorkbook(const QString& workbookPath);
    ~SheetConnection() override;

    std::unique_ptr<Recordset> Open(const QString& sql, const QVariantList& params = {}) override;
    // Reads no more than the value asked for: the duplicate checks ask one a cell.
    QVariant Scalar(const QString& sql) override;
    void Execute(const QString& sql, const QVariantList& params = {}) override;
    void Close() override;
    bool IsOpen() const override;

    const QStringList& SheetNames() const;
    // Whether path names the file the workbook was opened from and the file
    // is still as it was then: the same file, size and time of change.
    bool IsUnchangedFile(const QString& path) const;

private:
    explicit SheetConnection(std::unique_ptr<Book> workbook);
    // A prepared statement and the names of its result columns.
    struct Statement {
        sqlite3_stmt* stmt;
        QStringList columns;
    };
    // The statement ready to step: prepared (or taken from the cache) and bound.
    const Statement& Prepare(const QString& sql, const QVariantList& params);
    // The statement of a query (sql) whose parameterized text is text.
    const Statement& StatementOf(const QString& sql, const QString& text);
    // A sheet as a table: columns and their values, read once.
    std::shared_ptr<const SheetTable> Sheet(int index);
    // The sheet's table in the SQL engine, declared with all its columns and
    // filled with none: a query fills only the columns it reads.
    void CreateSheetTable(int index);
    // Fills the rows of the table with the columns read, and those filled before.
    void FillColumns(const QString& table, const QSet<QString>& read);
    // Fills the tables a statement's text names with the columns it reads.
    void FillColumnsRead(const QString& text, const QStringList& tables);
    void EnsureIndexes(const QStringList& tables, const QStringList& compared,
                       const QStringList& cstr);
    void Exec(const QByteArray& sql);
    AppError LastError() const;
    // Readies a statement that stepped to rc for its next use; raises unless it is done.
    void Finish(sqlite3_stmt* stmt, int rc);
    void ClearStatements();

    std::unique_ptr<Book> workbook_;
    QString path_;
    QByteArray fileStamp_;  // the file's identity and time of change when opened
    sqlite3* db_ = nullptr;
    QHash<QString, int> sheetOfTable_;  // case-folded table name -> sheet position
    // A sheet's table in the SQL engine and which of its columns hold values.
    struct LoadedSheet {
        int sheet;
        QStringList columns;
        QHash<QString, int> positionOf;  // by the name as declared
        QVector<bool> filled;
        bool hasRows;
    };
    QHash<int, std::shared_ptr<const SheetTable>> sheets_;  // by sheet position
    QHash<QString, LoadedSheet> loaded_;                    // by case-folded table name
    QSet<QString> indexed_;                                 // table and columns of every index made
    QHash<QString, Statement> statements_;
};

// The worksheet names of a workbook in workbook order; refuses the file as
// SheetConnection::OpenWorkbook does.
QStringList SheetNames(const QString& path);
