#pragma once

#include <QStringList>
#include <QVector>
#include <memory>

#include "workbook/Book.h"
#include "workbook/CellGrid.h"
#include "workbook/SheetTable.h"

// An Excel workbook of Excel 3.0 to 2003 (.xls), read by our own record
// decoder from its compound document (through libgsf) or bare stream, with
// formula cells read as the results the file keeps of them. Opening refuses,
// with an AppError that says why and names the file, a file that is missing,
// not a workbook, encrypted, too old, damaged or without worksheets; a file
// is read whole or not at all.
class Workbook : public Book {
public:
    static std::unique_ptr<Workbook> Open(const QString& path);

    const QString& Path() const { return path_; }
    const QStringList& SheetNames() const override { return names_; }
    SheetTable ReadSheet(int index) const override;
    CellGrid ReadGrid(int index) const override { return sheets_.at(index); }

private:
    Workbook() = default;

    QString path_;
    QStringList names_;
    QVector<CellGrid> sheets_;
};
