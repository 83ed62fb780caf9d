#include "workbook/XlsxSheet.h"

#include <QDate>
#include <QTime>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "workbook/MemoryBudget.h"
#include "workbook/XlsxScanner.h"
#include "workbook/XlsxXml.h"

namespace {
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// The serial day number of an ISO 8601 date cell ("2024-03-01",
// "2024-03-01T10:30:00", a time alone "10:30:00"), or none.
std::optional<double> IsoSerial(const QString& text, bool date1904) {
    const QDate dayZero = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const qsizetype t = text.indexOf('T');
    const QString datePart = t < 0 ? (text.contains(':') ? QString() : text) : text.left(t);
    QString timePart = t < 0 ? (text.contains(':') ? text : QString()) : text.mid(t + 1);
    timePart.remove('Z');
    double serial = 0;
    if (!datePart.isEmpty()) {
        const QDate date = QDate::fromString(datePart, Qt::ISODate);
        if (!date.isValid()) return std::nullopt;
        serial = double(dayZero.daysTo(date));
    }
    if (!timePart.isEmpty()) {
        const QTime time = QTime::fromString(timePart, Qt::ISODateWithMs);
        if (!time.isValid()) return std::nullopt;
        serial += time.msecsSinceStartOfDay() / 86400000.0;
    }
    return serial;
}

// A cell's number straight from the part's bytes: they are most of a sheet.
std::optional<double> ParseNumber(QByteArrayView text) {
    text = text.trimmed();
    if (text.startsWith('+')) text = text.sliced(1);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.isEmpty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// What a cell's "t" says its value is; anything else is a number.
enum class CellType { Number, Shared, Inline, FormulaText, Boolean, Error, IsoDate };

CellType TypeOf(QByteArrayView t) {
    if (t == "s") return CellType::Shared;
    if (t == "inlineStr") return CellType::Inline;
    if (t == "str") return CellType::FormulaText;
    if (t == "b") return CellType::Boolean;
    if (t == "e") return CellType::Error;
    if (t == "d") return CellType::IsoDate;
    return CellType::Number;
}

class SheetReader {
public:
    SheetReader(QIODevice& device, const QString& part, const XlsxSheetContext& context)
        : scan_(device, part), part_(part), context_(context), grid_(context.sharedStrings) {}

    CellGrid Read();

private:
    void ReadRow();
    void ReadCell();
    // Makes room at once for the cells the sheet says it spans ("A1:N5000"),
    // so that a large sheet's cells are not copied as they grow; a file
    // cannot ask for more than a quarter of the memory free this way.
    void ReserveFor(QByteArrayView range);
    // Refuses, before the next cell, a sheet whose cells will not fit in
    // memory: the list of cells may grow by as much again, and the table
    // is to come.
    void CheckRoom();
    void Add(const SheetCell& cell);
    // A text cell; one longer than a cell holds is the error #VALUE!.
    void AddText(const QString& text);
    void AddTooLong();

    XlsxScanner scan_;
    const QString& part_;
    const XlsxSheetContext& context_;
    CellGrid grid_;
    MemoryWatch watch_;
    int row_ = -1;      // the row being read
    int column_ = -1;   // the column of the last cell read
    QByteArray value_;  // reused: the text of the cell's <v>
};
}  // namespace

bool ParseCellReference(QByteArrayView reference, int& row, int& column) {
    qsizetype i = 0;
    int c = 0, r = 0;
    for (; i < reference.size() && std::isalpha(uchar(reference[i])); ++i) {
        c = c * 26 + (std::toupper(uchar(reference[i])) - 'A' + 1);
        if (c > kMaxColumns) return false;
    }
    const qsizetype digits = i;
    for (; i < reference.size() && std::isdigit(uchar(reference[i])); ++i) {
        r = r * 10 + (reference[i] - '0');
        if (r > kMaxRows) return false;
    }
    if (c == 0 || digits == i || i != reference.size() || r == 0) return false;
    row = r - 1;
    column = c - 1;
    return true;
}

void SheetReader::ReserveFor(QByteArrayView range) {
    const qsizetype colon = range.indexOf(':');
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
    if (colon < 0 || !ParseCellReference(range.first(colon), firstRow, firstColumn) ||
        !ParseCellReference(range.sliced(colon + 1), lastRow, lastColumn))
        return;
    const qint64 cells = qint64(lastRow - firstRow + 1) * (lastColumn - firstColumn + 1);
    grid_.Reserve(qsizetype(qBound<qint64>(0, cells, FreeMemory() / 4 / CellGrid::kCellBytes)));
}

void SheetReader::CheckRoom() {
    watch_.Check(grid_.Bytes(), grid_.Count() * CellGrid::kCellBytes + grid_.TableBytes());
}

void SheetReader::Add(const SheetCell& cell) {
    CheckRoom();
    grid_.Add(row_, column_, cell);
}

void SheetReader::AddText(const QString& text) {
    if (!FitsACell(text))
        AddTooLong();
    else if (!text.isEmpty())
        Add(TextCell(text));
}

void SheetReader::AddTooLong() {
    // Excel's answer to a text result longer than a cell holds. The cell
    // holds a value, so it counts for the sheet's size as any other, and
    // Verify rejects its row instead of a cut text reaching a column.
    grid_.Extend(row_, column_);
    Add(ErrorCell("#VALUE!"));
}

void SheetReader::ReadRow() {
    // A row without a usable number follows the one before it.
    const QByteArrayView r = scan_.Attribute("r");
    bool ok = false;
    const int number = r.isEmpty() ? 0 : r.toInt(&ok);
    row_ = ok && number >= 1 && number <= kMaxRows ? number - 1 : row_ + 1;
    if (row_ >= kMaxRows) throw XlsxFault{part_ + " has a row past the last one"};
    column_ = -1;
}

void SheetReader::ReadCell() {
    const bool placed = ParseCellReference(scan_.Attribute("r"), row_, column_);
    if (!placed) {
        // A cell without a reference follows the one before it.
        if (row_ < 0) row_ = 0;
        if (++column_ >= kMaxColumns) throw XlsxFault{part_ + " has a cell past the last column"};
    }
    const QByteArrayView style = scan_.Attribute("s");
    const int format = style.isEmpty() ? 0 : style.toInt();
    const CellType type = TypeOf(scan_.Attribute("t"));

    value_.resize(0);
    QString inlineText;
    bool hasValue = false;
    for (int depth = 1; depth > 0;) {
        const XlsxScanner::Token token = scan_.Next();
        if (token == XlsxScanner::Done) break;
        if (token == XlsxScanner::End) {
            --depth;
        } else if (token == XlsxScanner::Start) {
            if (depth == 1 && scan_.NameIs("v")) {
                scan_.AppendElementText(value_);
                hasValue = true;
            } else if (depth == 1 && scan_.NameIs("is")) {
                inlineText = RichText(scan_);
                hasValue = true;
            } else {
                ++depth;
            }
        }
    }
    if (!hasValue) return;

    if (type == CellType::Shared) {
        bool ok = false;
        const uint index = QByteArrayView(value_).trimmed().toUInt(&ok);
        if (!ok || index >= uint(context_.sharedStrings.size()) ||
            context_.sharedStrings[index].isEmpty())
            return;
        if (!FitsACell(context_.sharedStrings[index])) return AddTooLong();
        CheckRoom();
        grid_.AddShared(row_, column_, index);
    } else if (type == CellType::Inline) {
        AddText(inlineText.isEmpty() ? DecodeEscapes(QString::fromUtf8(value_)) : inlineText);
    } else if (type == CellType::FormulaText) {
        const QString text = QString::fromUtf8(value_);
        AddText(value_.contains("_x") ? DecodeEscapes(text) : text);
    } else if (type == CellType::Boolean) {
        const QByteArrayView v = QByteArrayView(value_).trimmed();
        Add(BooleanCell(v == "1" || v == "true"));
    } else if (type == CellType::Error) {
        Add(ErrorCell(QString::fromUtf8(QByteArrayView(value_).trimmed())));
    } else if (type == CellType::IsoDate) {
        const QString text = QString::fromUtf8(value_);
        const std::optional<double> serial = IsoSerial(text.trimmed(), context_.date1904);
        const std::optional<QString> date =
            serial ? SerialDateText(*serial, context_.date1904) : std::nullopt;
        if (date)
            Add(SheetCell{SheetCell::Date, 0, *date});
        else
            AddText(text);
    } else {
        const std::optional<double> parsed = ParseNumber(value_);
        if (!parsed) return;
        const DateKind kind = format >= 0 && format < context_.cellFormats.size()
                                  ? context_.cellFormats[format]
                                  : DateKind::None;
        Add(NumberCell(*parsed, kind, context_.date1904));
    }
}

CellGrid SheetReader::Read() {
    for (XlsxScanner::Token token; (token = scan_.Next()) != XlsxScanner::Done;) {
        if (token != XlsxScanner::Start) continue;
        if (scan_.NameIs("row"))
            ReadRow();
        else if (scan_.NameIs("c"))
            ReadCell();
        else if (scan_.NameIs("dimension") && grid_.Count() == 0)
            ReserveFor(scan_.Attribute("ref"));
    }
    grid_.Finish();
    return std::move(grid_);
}

CellGrid ReadWorksheet(QIODevice& device, const QString& part, const XlsxSheetContext& context) {
    return SheetReader(device, part, context).Read();
}
