#pragma once

#include <QStringList>
#include <memory>

#include "workbook/CellGrid.h"
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

// Opens an .xls or an .xlsx by what the file holds, not by its name, so a
// workbook saved under the other extension still opens. Refuses with an
// AppError that says why and names the file.
std::unique_ptr<Book> OpenBook(const QString& path);
