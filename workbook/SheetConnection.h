#pragma once

#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>

#include "base/AppError.h"
#include "base/Connection.h"

class Book;
struct SheetQuery;
struct sqlite3;
struct sqlite3_stmt;

// The workbook as a read-only database: each worksheet is the table
// sheet name + "$" ("Select * From [Sheet1$]") in an in-memory SQLite
// database, loaded when a query first names it. Text is compared without
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
    void LoadSheet(int index);
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
    QHash<QString, int> sheetOfTable_;       // case-folded table name -> sheet position
    QHash<QString, QStringList> columnsOf_;  // case-folded table name of a loaded sheet
    QSet<QString> indexed_;                  // table and columns of every index made
    QHash<QString, Statement> statements_;
};

// The worksheet names of a workbook in workbook order; refuses the file as
// SheetConnection::OpenWorkbook does.
QStringList SheetNames(const QString& path);
