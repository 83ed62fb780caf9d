#include "workbook/Book.h"

#include <QFile>

#include "workbook/MemoryBudget.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookRefusal.h"
#include "workbook/XlsxBook.h"

namespace {
// The sheet engine reads as many columns of a sheet as a sheet of the old
// format holds, whichever format the sheet comes from.
constexpr int kMaxTableColumns = 256;
}  // namespace

SheetTable SheetTableOf(const CellGrid& grid, const QString& path, const QString& sheet) {
    if (grid.Columns() > kMaxTableColumns)
        throw WorkbookRefusal(path, QString("The sheet \"%1\" of the workbook %2 has %3 columns; "
                                            "the sheet engine reads at most %4 columns of a sheet.")
                                        .arg(sheet, "%1", QString::number(grid.Columns()),
                                             QString::number(kMaxTableColumns)));
    try {
        RequireMemory(grid.TableBytes(), grid.Bytes() + grid.TableBytes());
    } catch (const MemoryShortfall& shortfall) {
        throw SheetTooLarge(path, sheet, shortfall);
    }
    return grid.Table();
}

AppError SheetTooLarge(const QString& path, const QString& sheet,
                       const MemoryShortfall& shortfall) {
    return WorkbookRefusal(path, QString("The sheet \"%1\" of the workbook %2 is %3.")
                                     .arg(sheet, "%1", ShortfallText(shortfall)));
}

std::unique_ptr<Book> OpenBook(const QString& path) {
    RequireWorkbookFile(path);
    QFile file(path);
    // A zip package is an .xlsx; anything else is left to the .xls reader,
    // which says what it is when it is no workbook.
    const bool zip = file.open(QIODevice::ReadOnly) && file.read(4) == "PK\x03\x04";
    if (zip) return XlsxBook::Open(path);
    return Workbook::Open(path);
}
