// Reads an .xlsx workbook as the program does and prints what it got, for
// the corpus test to run in a child process under time and memory limits:
// one line "sheet<TAB>name<TAB>records<TAB>digest" a worksheet (records
// being "refused <why>" when the sheet makes no table), where digest is the
// SHA-256 of the sheet written as the corpus's reference text (or "-"
// when that text would be too large to be worth hashing), or
// "refused<TAB>number<TAB>message" with exit status 3.
#include <QFile>
#include <QTextStream>

#include "ReferenceText.h"
#include "base/AppError.h"
#include "base/LineField.h"
#include "workbook/XlsxBook.h"

namespace {
QString ReferenceText(const SheetCell& cell) {
    switch (cell.kind) {
        case SheetCell::Empty:
        case SheetCell::Error:  // this corpus writes errors as empty fields
            return {};
        case SheetCell::Number:
        case SheetCell::Boolean:
            return ReferenceNumber(cell.number);
        case SheetCell::Date:
            return cell.text;
        case SheetCell::Text:
            break;
    }
    return LineField(cell.text);
}

// Hands the sheet's reference text to `line` one line at a time, until it
// answers false.
void WriteReferenceText(const CellGrid& grid, const LineSink& line) {
    for (int r = 0; r < grid.Rows(); ++r) {
        QString text;
        for (int c = 0; c < grid.Columns(); ++c) {
            if (c > 0) text += '\t';
            text += ReferenceText(grid.Cell(r, c));
        }
        text += '\n';
        if (!line(text.toUtf8())) return;
    }
}

// The number of records of the sheet as a table, or why it makes none.
QString Records(const XlsxBook& book, int sheet) {
    try {
        return QString::number(book.ReadSheet(sheet).rowCount);
    } catch (const AppError& e) {
        return "refused " + LineField(e.Description());
    }
}
}  // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    if (argc != 2 && argc != 3) {
        out << "usage: xlsx_probe WORKBOOK [SHEET-INDEX]\n";
        return 2;
    }
    try {
        const auto book = XlsxBook::Open(QString::fromLocal8Bit(argv[1]));
        if (argc == 3) {
            // One sheet's reference text, to see where a digest differs.
            QFile file;
            file.open(stdout, QIODevice::WriteOnly);
            WriteReferenceText(book->ReadGrid(QByteArray(argv[2]).toInt()),
                               [&file](const QByteArray& line) { return file.write(line) > 0; });
            return 0;
        }
        for (int i = 0; i < book->SheetNames().size(); ++i)
            out << "sheet\t" << LineField(book->SheetNames()[i]) << '\t' << Records(*book, i)
                << '\t' << ReferenceDigest([&](const LineSink& line) {
                       WriteReferenceText(book->ReadGrid(i), line);
                   })
                << '\n';
        return 0;
    } catch (const AppError& e) {
        out << "refused\t" << e.Number() << '\t' << LineField(e.Description()) << '\n';
        return 3;
    }
}
