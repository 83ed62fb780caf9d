#include <gtest/gtest.h>

#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "workbook/BiffRecords.h"
#include "workbook/FormulaResults.h"

namespace {

using Record = QPair<quint16, QByteArray>;

QByteArray U16(quint16 v) {
    QByteArray b(2, 0);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray Number(double v) {
    QByteArray b(8, 0);
    qToLittleEndian(v, b.data());
    return b;
}

// The 8 result bytes of a result that is no number.
QByteArray Special(quint8 type, quint8 value = 0) {
    return QByteArray(1, char(type)) + '\0' + char(value) + QByteArray(3, 0) + "\xFF\xFF";
}

// A FORMULA record of a cell in row and column (counted from 0) with XF 0.
Record Formula(quint16 row, quint16 column, const QByteArray& result) {
    return {Biff::kFormula, U16(row) + U16(column) + U16(0) + result + QByteArray(8, 0)};
}

Record Text8(quint16 count, const QByteArray& chars) {
    return {Biff::kString, U16(count) + '\0' + chars};
}

Record Xf(quint16 format) { return {Biff::kXf, U16(0) + U16(format) + QByteArray(16, 0)}; }

// What the scan found, one "RrCc kind value" line a cell in cell order, and
// what it could not read.
QStringList Scan(int version, const QVector<Record>& records) {
    BiffGlobals globals(version);
    FormulaScan scan(globals);
    for (const Record& r : records) {
        globals.Record(r.first, r.second);
        scan.Record(r.first, r.second);
    }
    scan.Finish();
    QStringList lines;
    for (auto it = scan.Results().cbegin(); it != scan.Results().cend(); ++it) {
        QString line = QString("R%1C%2 ").arg((it.key() >> 8) + 1).arg((it.key() & 0xFF) + 1);
        switch (it->kind) {
            case FormulaResult::Number:
                line += "number " + QString::number(it->number);
                if (it->date != DateKind::None) line += " (date)";
                break;
            case FormulaResult::Text:
                line += "text " + it->text;
                break;
            case FormulaResult::Boolean:
                line += "boolean " + QString::number(it->number);
                break;
            case FormulaResult::Error:
                line += "error " + it->text;
                break;
        }
        lines.append(line);
    }
    std::sort(lines.begin(), lines.end());
    if (!scan.Unreadable().isEmpty()) lines.append("unreadable: " + scan.Unreadable());
    return lines;
}

struct Case {
    const char* what;
    int version;
    QVector<Record> records;
    QStringList found;
};

TEST(FormulaScan, ResultsAndDamagedRecords) {
    const QByteArray text = Special(0);
    const Case cases[] = {
        {"each kind of result",
         8,
         {Formula(0, 0, Number(12.5)), Formula(0, 1, Special(1, 1)), Formula(0, 2, Special(1, 0)),
          Formula(0, 3, Special(2, 0x07)), Formula(0, 4, Special(3)), Formula(0, 5, text),
          Text8(3, "abc"), Formula(0, 6, Special(2, 0x2A))},
         {"R1C1 number 12.5", "R1C2 boolean 1", "R1C3 boolean 0", "R1C4 error #DIV/0!",
          "R1C5 text ", "R1C6 text abc", "R1C7 error #N/A"}},
        {"a number in a date format",
         8,
         {Xf(14), Formula(1, 0, Number(45322))},
         {"R2C1 number 45322 (date)"}},
        {"no number Excel stores reads as an error",
         8,
         {Formula(0, 0, Number(std::nan(""))), Formula(0, 1, Number(HUGE_VAL))},
         {"R1C1 error #NUM!", "R1C2 error #NUM!"}},
        {"the text after a shared formula record, a stray STRING record ignored",
         8,
         {Text8(1, "z"), Formula(2, 1, text), {0x04BC, QByteArray(10, 0)}, Text8(2, "ok")},
         {"R3C2 text ok"}},
        {"a text going on in CONTINUE records, 8-bit then UTF-16",
         8,
         {Formula(0, 0, text),
          Text8(4, "ab"),
          {Biff::kContinue, QByteArray("\x01", 1)},
          {Biff::kContinue, QByteArray("\x01\xA9\x03", 3) + QByteArray("d\0", 2)}},
         {"R1C1 text ab\u03A9d"}},
        {"a text cut short",
         8,
         {Formula(0, 0, text), Text8(5, "abc"), Formula(1, 0, Number(1))},
         {"R2C1 number 1", "unreadable: the result of the formula in cell R1C1"}},
        {"a text cut short at the end of the sheet",
         8,
         {Formula(0, 0, text),
          Text8(4, "ab"),
          {Biff::kContinue,
           "\x01"
           "c"}},
         {"unreadable: the result of the formula in cell R1C1"}},
        {"a STRING record too short for its header",
         8,
         {Formula(0, 0, text), {Biff::kString, QByteArray("\x02", 1)}},
         {"unreadable: the result of the formula in cell R1C1"}},
        {"a text result without its STRING record",
         8,
         {Formula(3, 2, text), Formula(3, 3, Number(2))},
         {"R4C4 number 2", "unreadable: the result of the formula in cell R4C3"}},
        {"a FORMULA record cut short",
         8,
         {{Biff::kFormula, U16(4) + U16(1) + U16(0) + Number(1).left(4)}},
         {"unreadable: the result of the formula in cell R5C2"}},
        {"a FORMULA record too short to name its cell",
         8,
         {{Biff::kFormula, QByteArray(3, 0)}},
         {"unreadable: the result of a formula"}},
        {"a result of an unknown kind",
         8,
         {Formula(0, 0, Special(9))},
         {"unreadable: the result of the formula in cell R1C1"}},
        {"BIFF5 text in the workbook's code page",
         5,
         {{Biff::kCodePage, U16(1251)},
          Formula(0, 0, text),
          {Biff::kString, U16(3) + QByteArray("\xCC\xEE\xF1", 3)}},
         {"R1C1 text \u041C\u043E\u0441"}},
        {"BIFF5 8-bit texts of odd and even length marked as UTF-16",
         5,
         {{Biff::kCodePage, U16(1200)},
          Formula(0, 0, text),
          {Biff::kString, U16(3) + QByteArray("Th\xE9", 3)},
          Formula(0, 1, text),
          {Biff::kString, U16(4) + QByteArray("Caf\xE9", 4)},
          Formula(0, 2, text),
          {Biff::kString, U16(4) + QByteArray("\xC9t\xE9s", 4)}},
         {"R1C1 text Th\u00E9", "R1C2 text Caf\u00E9", "R1C3 text \u00C9t\u00E9s"}},
        {"BIFF5 UTF-16 texts marked as such",
         5,
         {{Biff::kCodePage, U16(1200)},
          Formula(0, 0, text),
          {Biff::kString, U16(4) + QByteArray::fromHex("e900 7400")},
          Formula(0, 1, text),
          {Biff::kString, U16(6) + QByteArray::fromHex("a903 2000 3100")}},
         {"R1C1 text \u00E9t", "R1C2 text \u03A9 1"}},
        {"BIFF5 text cut short",
         5,
         {Formula(0, 0, text), {Biff::kString, U16(9) + QByteArray("abc")}},
         {"unreadable: the result of the formula in cell R1C1"}},
        {"BIFF4 formula record number",
         4,
         {{Biff::kFormula4, Formula(0, 0, Number(7)).second}},
         {"R1C1 number 7"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scan(c.version, c.records).join('\n').toStdString(),
                  c.found.join('\n').toStdString())
            << c.what;
}

}  // namespace
