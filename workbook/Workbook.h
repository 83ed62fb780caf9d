#pragma once

#include <QStringList>
#include <QVector>
#include <memory>

#include "workbook/BiffLayout.h"
#include "workbook/SheetTable.h"

// An Excel 97-2003 workbook (.xls) read with FreeXL, and formula cells with
// the results the file keeps of them. Opening refuses, with an AppError that
// says why, a file that is missing, not a workbook, encrypted, too old,
// damaged or without worksheets; a file is read whole or not at all.
class Workbook {
public:
    static std::unique_ptr<Workbook> Open(const QString& path);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const QString& Path() const { return path_; }
    // The worksheets' names in workbook order (no chart or macro sheets).
    const QStringList& SheetNames() const { return names_; }
    // The worksheet at that position of SheetNames(), as a table.
    SheetTable ReadSheet(int index) const;

private:
    Workbook() = default;
    SheetCell Cell(unsigned row, unsigned short column, const BiffSheet& records,
                   const QString& sheet) const;

    QString path_;
    const void* handle_ = nullptr;
    bool date1904_ = false;
    QStringList names_;
    QVector<unsigned short> freexlIndex_;  // FreeXL's index of each worksheet
    QVector<BiffSheet> records_;           // what each worksheet's own records show
};
