#pragma once

#include <QStringList>
#include <QVector>
#include <memory>

#include "workbook/Book.h"
#include "workbook/SheetTable.h"
#include "workbook/XlsxPackage.h"
#include "workbook/XlsxSheet.h"

// An Excel 2007 or later workbook (.xlsx, .xlsm). Opening reads what all
// sheets share (sheet list, shared strings, cell formats) and refuses, with
// an AppError that says why and names the file, a file that is missing, not
// a workbook, encrypted, damaged or truncated, or without worksheets. Each
// sheet is read when asked for, streaming its part from the zip.
class XlsxBook : public Book {
public:
    static std::unique_ptr<XlsxBook> Open(const QString& path);

    const QString& Path() const { return path_; }
    // The worksheets' names in workbook order (no chart, dialog or macro sheets).
    const QStringList& SheetNames() const override { return names_; }
    // The worksheet at that position of SheetNames(), as a table.
    SheetTable ReadSheet(int index) const override;
    CellGrid ReadGrid(int index) const override;

private:
    XlsxBook() = default;
    std::unique_ptr<QIODevice> Part(const QString& part) const;

    QString path_;
    std::unique_ptr<XlsxPackage> package_;
    QStringList names_;
    QStringList parts_;  // the part of each worksheet
    XlsxSheetContext context_;
};
