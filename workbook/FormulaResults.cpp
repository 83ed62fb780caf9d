#include "workbook/FormulaResults.h"

#include <cmath>

#include "workbook/BiffRecords.h"

namespace {
// A FORMULA record: row, column, XF, the 8-byte result, then the formula.
// A result whose last two bytes are 0xFFFF is no number (no number Excel
// stores has them); its first byte tells what it is.
constexpr qsizetype kResultAt = 6;
constexpr qsizetype kResultEnd = 14;
constexpr quint16 kNoNumber = 0xFFFF;
enum SpecialResult : quint8 { kTextResult = 0, kBoolean = 1, kError = 2, kEmptyText = 3 };
constexpr quint8 kNumError = 0x24;  // #NUM!
}  // namespace

void FormulaScan::Record(quint16 type, QByteArrayView data) {
    using namespace Biff;
    if (continuing_) {
        const Cell cell = *continuing_;
        if (type != kContinue) {
            continuing_.reset();
            MarkUnreadable(cell);
        } else {
            ContinueBiff8Text(text_, data);
            if (text_.missing == 0) {
                continuing_.reset();
                StoreText(cell, text_.text);
            }
            return;
        }
    }
    if (type == kFormula || type == kFormula3 || type == kFormula4) {
        if (awaiting_) MarkUnreadable(awaiting_);
        awaiting_.reset();
        Formula(data);
    } else if (type == kString && awaiting_) {
        const Cell cell = *awaiting_;
        awaiting_.reset();
        StringRecord(cell, data);
    }
}

void FormulaScan::Finish() {
    if (awaiting_) MarkUnreadable(awaiting_);
    if (continuing_) MarkUnreadable(continuing_);
    awaiting_.reset();
    continuing_.reset();
}

void FormulaScan::Formula(QByteArrayView data) {
    using namespace Biff;
    if (data.size() < 4) return MarkUnreadable(std::nullopt);
    const Cell cell{U16(data, 0), U16(data, 2)};
    if (data.size() < kResultEnd) return MarkUnreadable(cell);
    FormulaResult result;
    if (U16(data, kResultEnd - 2) == kNoNumber) {
        switch (U8(data, kResultAt)) {
            case kTextResult:
                awaiting_ = cell;
                return;
            case kBoolean:
                result.kind = FormulaResult::Boolean;
                result.number = U8(data, kResultAt + 2) != 0 ? 1 : 0;
                break;
            case kError:
                result.kind = FormulaResult::Error;
                result.text = ErrorCodeText(U8(data, kResultAt + 2));
                break;
            case kEmptyText:
                result.kind = FormulaResult::Text;
                break;
            default:
                return MarkUnreadable(cell);
        }
    } else {
        result.number = qFromLittleEndian<double>(data.data() + kResultAt);
        // Excel has no infinities or NaNs; such a value reads as the error
        // Excel shows for a number out of its range.
        if (std::isfinite(result.number)) {
            result.date = globals_.DateKindOfXf(U16(data, 4));
        } else {
            result.kind = FormulaResult::Error;
            result.text = ErrorCodeText(kNumError);
        }
    }
    results_.insert(CellKey(cell.row, cell.column), result);
}

void FormulaScan::StringRecord(Cell cell, QByteArrayView data) {
    using namespace Biff;
    if (globals_.Version() == 8) {
        const std::optional<Biff8Text> text = ReadBiff8Text(data);
        if (!text) return MarkUnreadable(cell);
        if (text->missing == 0) return StoreText(cell, text->text);
        text_ = *text;
        continuing_ = cell;
        return;
    }
    // Before BIFF8: a 16-bit length and 8-bit characters, never continued.
    if (data.size() < 2 || data.size() < 2 + qsizetype(U16(data, 0))) return MarkUnreadable(cell);
    const std::optional<QString> text = globals_.Text(data.sliced(2, U16(data, 0)));
    if (!text) return MarkUnreadable(cell);
    StoreText(cell, *text);
}

void FormulaScan::StoreText(Cell cell, const QString& text) {
    FormulaResult result;
    result.kind = FormulaResult::Text;
    result.text = text;
    results_.insert(CellKey(cell.row, cell.column), result);
}

void FormulaScan::MarkUnreadable(std::optional<Cell> cell) {
    if (!unreadable_.isEmpty()) return;
    unreadable_ = cell ? QString("the result of the formula in cell R%1C%2")
                             .arg(cell->row + 1)
                             .arg(cell->column + 1)
                       : QString("the result of a formula");
}
