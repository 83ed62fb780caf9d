#pragma once

#include <QString>
#include <memory>

#include "base/Recordset.h"

// The company directory: table CompanyFile of an Access (Jet 3/4) file,
// read only. Failures raise AppError with a description naming the problem.
class CompanyDirectory {
public:
    // Opens the file; refuses a file that is missing, locked or not an
    // Access database.
    static std::unique_ptr<CompanyDirectory> Open(const QString& path);
    ~CompanyDirectory();

    // "Select CompanyCode As [Code], CompanyName As [Name] From CompanyFile":
    // fields Code and Name, one record per company in the file's order.
    std::unique_ptr<Recordset> List();
    // Every column of the companies whose CompanyCode equals code exactly,
    // in the file's order; null values stay null, empty texts stay empty.
    std::unique_ptr<Recordset> Find(const QString& code);
    void Close();
    bool IsOpen() const;

private:
    struct Impl;
    explicit CompanyDirectory(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
