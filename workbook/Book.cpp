#include "workbook/Book.h"

#include <QFile>

#include "workbook/Workbook.h"
#include "workbook/WorkbookRefusal.h"
#include "workbook/XlsxBook.h"

std::unique_ptr<Book> OpenBook(const QString& path) {
    RequireWorkbookFile(path);
    QFile file(path);
    // A zip package is an .xlsx; anything else is left to the .xls reader,
    // which says what it is when it is no workbook.
    const bool zip = file.open(QIODevice::ReadOnly) && file.read(4) == "PK\x03\x04";
    if (zip) return XlsxBook::Open(path);
    return Workbook::Open(path);
}
