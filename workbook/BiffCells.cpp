#include "workbook/BiffCells.h"

#include <QtEndian>
#include <cstring>

#include "workbook/BiffRecords.h"
#include "workbook/BiffStream.h"
#include "workbook/BiffText.h"
#include "workbook/FormulaResults.h"

namespace {
using namespace Biff;

// Columns a sheet of these formats can have; a cell past them is damage.
constexpr quint16 kMaxColumns = 256;

// A formula cell reads as its saved result.
SheetCell FormulaCell(const FormulaResult& result, bool date1904) {
    switch (result.kind) {
        case FormulaResult::Number:
            return NumberCell(result.number, result.date, date1904);
        case FormulaResult::Text:
            return TextCell(result.text);
        case FormulaResult::Boolean:
            return BooleanCell(result.number != 0);
        case FormulaResult::Error:
            return ErrorCell(result.text);
    }
    return {};
}

// An RK number: 30 bits of a double's top or of an integer, maybe hundredths.
double RkValue(quint32 rk) {
    double value = 0;
    if (rk & 0x02) {
        value = double(qint32(rk) >> 2);
    } else {
        const quint64 bits = quint64(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return rk & 0x01 ? value / 100 : value;
}

class SheetReader {
public:
    // bytes: how much of the stream the sheet's records can take at most.
    SheetReader(const BiffBook& book, qsizetype bytes)
        : book_(book), formulas_(book.globals), bytes_(bytes) {
        cells_.grid = CellGrid(book.shared);
    }

    void Record(const BiffRecord& r) {
        book_.globals.Record(r.type, r.data);
        formulas_.Record(r.type, r.data);
        const QByteArrayView d = r.data;
        switch (r.type) {
            case kNumber:
                if (d.size() >= 14)
                    Put(d, NumberCell(qFromLittleEndian<double>(d.data() + 6), DateOf(d),
                                      book_.date1904));
                break;
            case kRk:
                if (d.size() >= 10)
                    Put(d, NumberCell(RkValue(U32(d, 6)), DateOf(d), book_.date1904));
                break;
            case kMulRk:
                MulRk(d);
                break;
            case kLabelSst:
                if (d.size() >= 10) LabelSst(d);
                break;
            case kLabel:
            case kRString:
                if (d.size() >= 8) Label(d);
                break;
            case kBoolErr:
                if (d.size() >= 8)
                    Put(d, U8(d, 7) ? ErrorCell(ErrorCodeText(U8(d, 6))) : BooleanCell(U8(d, 6)));
                break;
            case kDimension:
                Reserve(d);
                break;
            case kBlank:
                if (d.size() >= 6) Extend(U16(d, 0), U16(d, 2));
                break;
            case kMulBlank:
                if (d.size() >= 6) Extend(U16(d, 0), U16(d, d.size() - 2));
                break;
            case kFormula:
            case kFormula3:
            case kFormula4:
                if (d.size() >= 4) Extend(U16(d, 0), U16(d, 2));
                break;
            default:
                break;
        }
    }

    BiffCells Finish() {
        formulas_.Finish();
        if (cells_.unreadable.isEmpty()) cells_.unreadable = formulas_.Unreadable();
        const QHash<quint32, FormulaResult>& results = formulas_.Results();
        for (auto it = results.begin(); it != results.end(); ++it)
            Put(quint16(KeyRow(it.key())), quint16(KeyColumn(it.key())),
                FormulaCell(*it, book_.date1904));
        cells_.grid.Finish();
        return std::move(cells_);
    }

private:
    DateKind DateOf(QByteArrayView d) const { return book_.globals.DateKindOfXf(U16(d, 4)); }

    // Room for the cells the sheet's dimensions promise, so that a large
    // sheet is not copied as it grows; a damaged record cannot ask for more
    // cells than the records could hold (a cell takes 6 bytes at least).
    void Reserve(QByteArrayView d) {
        if (book_.globals.Version() != 8 || d.size() < 12) return;
        const qint64 rows = qint64(U32(d, 4)) - U32(d, 0);
        const qint64 columns = qint64(U16(d, 10)) - U16(d, 8);
        if (rows > 0 && columns > 0) cells_.grid.Reserve(qMin(rows * columns, qint64(bytes_ / 6)));
    }

    // Whether the sheet can hold a cell there; one past its columns is damage.
    bool Fits(quint16 row, quint16 column) {
        if (column < kMaxColumns) return true;
        Unreadable(row, column);
        return false;
    }

    void Extend(quint16 row, quint16 column) {
        if (Fits(row, column)) cells_.grid.Extend(row, column);
    }

    // Any cell record widens the sheet, an error's too.
    void Put(quint16 row, quint16 column, const SheetCell& cell) {
        if (!Fits(row, column)) return;
        cells_.grid.Extend(row, column);
        cells_.grid.Add(row, column, cell);
    }
    void Put(QByteArrayView d, const SheetCell& cell) { Put(U16(d, 0), U16(d, 2), cell); }

    void Unreadable(quint16 row, quint16 column) {
        if (cells_.unreadable.isEmpty())
            cells_.unreadable = QString("cell R%1C%2").arg(row + 1).arg(column + 1);
    }

    void MulRk(QByteArrayView d) {
        if (d.size() < 6) return;
        const quint16 row = U16(d, 0);
        const quint16 first = U16(d, 2);
        const qsizetype count = (d.size() - 6) / 6;
        for (qsizetype i = 0; i < count; ++i) {
            const qsizetype at = 4 + 6 * i;
            Put(row, quint16(first + i),
                NumberCell(RkValue(U32(d, at + 2)), book_.globals.DateKindOfXf(U16(d, at)),
                           book_.date1904));
        }
    }

    void LabelSst(QByteArrayView d) {
        const quint32 index = U32(d, 6);
        if (index >= quint32(book_.shared.size())) return Unreadable(U16(d, 0), U16(d, 2));
        // The shared text is not copied: the cell names it.
        if (book_.shared[index].isEmpty()) return Put(d, SheetCell());
        if (Fits(U16(d, 0), U16(d, 2))) cells_.grid.AddShared(U16(d, 0), U16(d, 2), index);
    }

    void Label(QByteArrayView d) {
        if (book_.globals.Version() == 8) {
            const std::optional<Biff8Text> text = ReadBiff8Text(d.sliced(6));
            if (!text || text->missing > 0) return Unreadable(U16(d, 0), U16(d, 2));
            return Put(d, TextCell(text->text));
        }
        const qsizetype length = U16(d, 6);
        if (d.size() < 8 + length) return Unreadable(U16(d, 0), U16(d, 2));
        const QByteArrayView bytes = d.sliced(8, length);
        // Text in a code page without decoder still reads, as Latin-1.
        Put(d, TextCell(book_.globals.Text(bytes).value_or(QString::fromLatin1(bytes))));
    }

    const BiffBook& book_;
    FormulaScan formulas_;
    qsizetype bytes_;
    BiffCells cells_;
};
}  // namespace

int BofVersion(const BiffRecord& r) {
    switch (r.type) {
        case kBof2:
            return 2;
        case kBof3:
            return 3;
        case kBof4:
            return 4;
        case kBof:
            return r.data.size() >= 2 && U16(r.data, 0) == 0x0600 ? 8 : 5;
        default:
            return 0;
    }
}

std::optional<BiffCells> ReadBiffCells(QByteArrayView stream, qsizetype at, const BiffBook& book,
                                       qsizetype& budget) {
    RecordWalk walk(stream, at);
    std::optional<BiffRecord> r = walk.Next();
    if (!r || BofVersion(*r) == 0) return std::nullopt;
    SheetReader reader(book, stream.size() - at);
    int depth = 1;
    while ((r = walk.Next())) {
        budget -= 4 + r->data.size();
        if (budget < 0) return std::nullopt;
        if (BofVersion(*r) != 0) {
            ++depth;
        } else if (r->type == kEof) {
            if (--depth == 0) break;
        } else if (depth == 1) {
            reader.Record(*r);
        }
    }
    return reader.Finish();
}
