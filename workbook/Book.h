#pragma once

#include <QStringList>
#include <memory>

#include "base/AppError.h"
#include "workbook/CellGrid.h"
#include "workbook/MemoryBudget.h"
#include "workbook/SheetTable.h"

// A workbook as the sheet engine reads it, whatever its format.
class Book {
public:
    virtual ~Book() = default;
    // The worksheets' names in workbook order (no chart or macro sheets).
    virtual const QStringList& SheetNames() const = 0;
    // The worksheet at that position of SheetNames(), as a table.
    virtual SheetTable ReadSheet(int index) const = 0;
    // The same worksheet's cells as they are, before they make a table.
    virtual CellGrid ReadGrid(int index) const = 0;
};

// The sheet's cells as a table, refused with an AppError naming the
// workbook and the sheet when it has more columns than the sheet engine
// reads or will not fit in memory.
SheetTable SheetTableOf(const CellGrid& grid, const QString& path, const QString& sheet);
// "The sheet ... of the workbook ... is too large for this machine (...)."
AppError SheetTooLarge(const QString& path, const QString& sheet, const MemoryShortfall& shortfall);

// Opens an .xls or an .xlsx by what the file holds, not by its name, so a
// workbook saved under the other extension still opens. Refuses with an
// AppError that says why and names the file.
std::unique_ptr<Book> OpenBook(const QString& path);
