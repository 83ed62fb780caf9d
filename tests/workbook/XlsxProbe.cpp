// Reads an .xlsx workbook as the program does and prints what it got, for
// the corpus test to run in a child process under time and memory limits:
// one line "sheet<TAB>name<TAB>records<TAB>digest" a worksheet (records
// being "refused <why>" when the sheet makes no table), where digest is the
// SHA-256 of the sheet written as the corpus's reference text (or "-"
// when that text would be too large to be worth hashing), or
// "refused<TAB>number<TAB>message" with exit status 3.
#include <QCryptographicHash>
#include <QFile>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <functional>

#include "base/AppError.h"
#include "workbook/SheetDump.h"
#include "workbook/XlsxBook.h"

namespace {
constexpr qint64 kMaxTextBytes = qint64(64) << 20;

// A number as the reference writes it: rounded to 15 significant digits,
// then the shortest text that reads back as that value, in Python's layout
// (exponent from 1e16 up and below 1e-4, no trailing ".0").
QString ReferenceNumber(double value) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%.15g", value);
    const double rounded = std::strtod(buffer, nullptr);
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::scientific).ptr;
    const QString sci = QString::fromLatin1(buffer, end - buffer);  // "-d.ddde+XX"
    const qsizetype e = sci.indexOf('e');
    const int exponent = sci.mid(e + 1).toInt();
    const bool negative = sci.startsWith('-');
    QString digits = sci.left(e).remove('-').remove('.');
    QString text;
    if (exponent >= 16 || exponent < -4) {
        text = digits.left(1) + (digits.size() > 1 ? "." + digits.mid(1) : QString()) + "e" +
               (exponent < 0 ? "-" : "+") +
               QString::number(std::abs(exponent)).rightJustified(2, '0');
    } else if (exponent < 0) {
        text = "0." + QString(-exponent - 1, '0') + digits;
    } else if (digits.size() <= exponent + 1) {
        text = digits + QString(exponent + 1 - digits.size(), '0');
    } else {
        text = digits.left(exponent + 1) + "." + digits.mid(exponent + 1);
    }
    return negative ? "-" + text : text;
}

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
    return DumpField(cell.text);
}

// Hands the sheet's reference text to `line` one line at a time, until it
// answers false.
void WriteReferenceText(const CellGrid& grid, const std::function<bool(const QByteArray&)>& line) {
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

// The digest of the sheet's reference text, or "-" past the size limit.
QString Digest(const CellGrid& grid) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 bytes = 0;
    WriteReferenceText(grid, [&](const QByteArray& line) {
        bytes += line.size();
        hash.addData(line);
        return bytes <= kMaxTextBytes;
    });
    return bytes > kMaxTextBytes ? "-" : QString::fromLatin1(hash.result().toHex());
}

// The number of records of the sheet as a table, or why it makes none.
QString Records(const XlsxBook& book, int sheet) {
    try {
        return QString::number(book.ReadSheet(sheet).rowCount);
    } catch (const AppError& e) {
        return "refused " + DumpField(e.Description());
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
            out << "sheet\t" << DumpField(book->SheetNames()[i]) << '\t' << Records(*book, i)
                << '\t' << Digest(book->ReadGrid(i)) << '\n';
        return 0;
    } catch (const AppError& e) {
        out << "refused\t" << e.Number() << '\t' << DumpField(e.Description()) << '\n';
        return 3;
    }
}
