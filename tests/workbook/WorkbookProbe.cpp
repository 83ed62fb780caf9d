// Reads a workbook as the program does and prints what it got: one line
// "sheet<TAB>name<TAB>records<TAB>digest" a worksheet, where digest is the
// SHA-256 of the sheet's cells written as the xls corpus's reference text
// (or "-" when that text would be too large to be worth hashing), or
// "refused<TAB>number<TAB>message" with exit status 3. The corpus test runs
// it in a child process under time and memory limits, so that a crash or a
// hang fails that test only.
#include <QFile>
#include <QTextStream>
#include <algorithm>

#include "ReferenceText.h"
#include "base/AppError.h"
#include "base/LineField.h"
#include "base/SqlText.h"
#include "workbook/Book.h"
#include "workbook/SheetConnection.h"

namespace {

// A cell as the reference writes it: booleans as Python writes them and
// errors as Excel shows them.
QString ReferenceText(const SheetCell& cell) {
    switch (cell.kind) {
        case SheetCell::Empty:
            return {};
        case SheetCell::Number:
            return ReferenceNumber(cell.number);
        case SheetCell::Boolean:
            return cell.number != 0 ? "True" : "False";
        case SheetCell::Date:
        case SheetCell::Error:
            return cell.text;
        case SheetCell::Text:
            break;
    }
    return LineField(cell.text);
}

// Hands the sheet's reference text to `line` one line at a time, until it
// answers false: the first row as a header, with "F<n>" for an empty cell,
// then every row up to the last one holding a value, each as wide as the
// sheet.
void WriteReferenceText(const CellGrid& grid, const LineSink& line) {
    int rows = 0;
    grid.Visit([&rows](int r, int, const SheetCell& cell) {
        if (cell.kind != SheetCell::Empty) rows = std::max(rows, r + 1);
    });
    for (int r = 0; r < rows; ++r) {
        QString text;
        for (int c = 0; c < grid.Columns(); ++c) {
            if (c > 0) text += '\t';
            const SheetCell cell = grid.Cell(r, c);
            text += r == 0 && cell.kind == SheetCell::Empty ? QString("F%1").arg(c + 1)
                                                            : ReferenceText(cell);
        }
        text += '\n';
        if (!line(text.toUtf8())) return;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    if (argc != 2 && argc != 3) {
        out << "usage: workbook_probe WORKBOOK [SHEET-INDEX]\n";
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        if (argc == 3) {
            // One sheet's reference text, to see where a digest differs.
            QFile file;
            file.open(stdout, QIODevice::WriteOnly);
            WriteReferenceText(OpenBook(path)->ReadGrid(QByteArray(argv[2]).toInt()),
                               [&file](const QByteArray& line) { return file.write(line) > 0; });
            return 0;
        }
        const auto connection = SheetConnection::OpenWorkbook(path);
        const auto book = OpenBook(path);
        for (int i = 0; i < book->SheetNames().size(); ++i) {
            const QString& sheet = book->SheetNames()[i];
            const auto records = connection->Open("Select * From " + BracketName(sheet + "$"));
            out << "sheet\t" << LineField(sheet) << '\t' << records->RecordCount() << '\t'
                << ReferenceDigest(
                       [&](const LineSink& line) { WriteReferenceText(book->ReadGrid(i), line); })
                << '\n';
        }
        return 0;
    } catch (const AppError& e) {
        out << "refused\t" << e.Number() << '\t' << LineField(e.Description()) << '\n';
        return 3;
    }
}
