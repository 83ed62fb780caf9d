#include "workbook/Workbook.h"

#include <freexl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "base/AppError.h"
#include "workbook/BiffLayout.h"
#include "workbook/DateText.h"

namespace {
// The numbers a workbook that cannot be read is reported under (FreeXL's
// own codes mean nothing to a user).
constexpr qint32 kFileNotFound = 3024;       // could not find file
constexpr qint32 kCannotOpen = 3051;         // cannot open the file
constexpr qint32 kNotExpectedFormat = 3274;  // not in the expected format
constexpr qint32 kNotValidPassword = 3031;   // not a valid password

// The most cells all sheets of a workbook may announce together: one sheet of
// the format's full 65,536 rows by 256 columns. FreeXL allocates every
// announced cell when it opens the file, so a damaged file announcing more
// would take gigabytes.
constexpr quint64 kMaxCells = 65536ull * 256;
constexpr unsigned kMaxRows = 65536;
constexpr unsigned kMaxColumns = 256;

QString Quoted(const QString& path) { return "\"" + QDir::toNativeSeparators(path) + "\""; }

QString FreeXLErrorText(int rc) {
    switch (rc) {
        case FREEXL_FILE_NOT_FOUND:
            return "file not found";
        case FREEXL_INSUFFICIENT_MEMORY:
            return "out of memory";
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_CFBF_INVALID_SIGNATURE:
        case FREEXL_CFBF_INVALID_SECTOR_SIZE:
            return "invalid compound document header";
        case FREEXL_CFBF_READ_ERROR:
        case FREEXL_CFBF_SEEK_ERROR:
            return "read past the end of the file";
        case FREEXL_CFBF_EMPTY_FAT_CHAIN:
        case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
        case FREEXL_INVALID_MINI_STREAM:
        case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
            return "broken sector chain";
        case FREEXL_BIFF_INVALID_BOF:
            return "invalid BOF record";
        case FREEXL_BIFF_INVALID_SST:
        case FREEXL_BIFF_ILLEGAL_SST_INDEX:
            return "invalid shared string table";
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            return "no workbook stream";
        case FREEXL_INVALID_CHARACTER:
        case FREEXL_UNSUPPORTED_CHARSET:
            return "text in an unknown character set";
        case FREEXL_ILLEGAL_CELL_ROW_COL:
            return "cell outside the sheet";
        case FREEXL_ILLEGAL_RK_VALUE:
            return "invalid number";
        case FREEXL_CRAFTED_FILE:
            return "inconsistent records";
        default:
            return "error";
    }
}

// Advice for files Excel can still open.
const char* const kSaveAgain =
    " Open it in Excel and save it again as \"Excel 97-2003 Workbook (*.xls)\".";

// A refusal: the text names the workbook through the one "%1" of why; a
// FreeXL failure adds FreeXL's own number and text.
AppError Refusal(const QString& path, const QString& why, int freexlRc = FREEXL_OK,
                 qint32 number = kNotExpectedFormat) {
    QString text = why.arg(Quoted(path));
    if (freexlRc == FREEXL_OK) return AppError(number, text);
    text.chop(text.endsWith('.') ? 1 : 0);
    return AppError(freexlRc, QString("%1 (FreeXL %2: %3).")
                                  .arg(text, QString::number(freexlRc), FreeXLErrorText(freexlRc)));
}

AppError Damaged(const QString& path, const QString& detail, int freexlRc = FREEXL_OK) {
    return Refusal(path, "The workbook %1 is damaged: " + detail + ".", freexlRc);
}

AppError Encrypted(const QString& path) {
    return Refusal(path,
                   "The workbook %1 is password protected (encrypted) and cannot be read. Remove "
                   "its password in Excel and save it again.",
                   FREEXL_OK, kNotValidPassword);
}

QByteArray ReadFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw Refusal(path, "Could not find the workbook %1.", FREEXL_OK, kFileNotFound);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Refusal(path, "The workbook %1 cannot be opened: " + file.errorString() + ".",
                      FREEXL_OK, kCannotOpen);
    return file.readAll();
}

// Why FreeXL could not open a file that looked like a workbook.
AppError OpenFailure(const QString& path, int rc, const BiffLayout& layout) {
    switch (rc) {
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            if (layout.biffVersion == 0)
                return Refusal(path, "%1 is not an Excel workbook: it holds no workbook.", rc);
            break;
        case FREEXL_CFBF_READ_ERROR:
        case FREEXL_CFBF_SEEK_ERROR:
            return Refusal(path, "The workbook %1 is truncated or damaged.", rc);
        case FREEXL_INSUFFICIENT_MEMORY:
            return Refusal(path, "The workbook %1 is too large to be read.", rc);
        case FREEXL_OK:  // FreeXL also gives up without a word, leaving no handle
            break;
        default:
            if (layout.biffVersion != 5) return Damaged(path, "FreeXL cannot read it", rc);
    }
    if (layout.biffVersion == 5)
        return Refusal(path, QString("The workbook %1 is an Excel 5.0/95 workbook in a form that "
                                     "cannot be read.") +
                                 kSaveAgain);
    return Refusal(path, QString("The workbook %1 is damaged or written in a form that cannot be "
                                 "read.") +
                             kSaveAgain);
}

// Refuses, before FreeXL sees the file, what its own records show cannot be read.
void CheckLayout(const QString& path, const BiffLayout& layout) {
    switch (layout.container) {
        case Container::Empty:
            throw Refusal(path, "%1 is an empty file, not an Excel workbook.");
        case Container::Zip:
            throw Refusal(path, QString("%1 is not an Excel 97-2003 workbook (.xls) but a zip "
                                        "archive, as an Excel 2007 or later workbook (.xlsx) is.") +
                                    kSaveAgain);
        case Container::Other:
            throw Refusal(path, "%1 is not an Excel workbook.");
        case Container::Ole:
        case Container::RawBiff:
            break;
    }
    if (layout.biffVersion == 2)
        throw Refusal(path, QString("%1 is an Excel 2.x workbook, a format too old to be read.") +
                                kSaveAgain);
    if (layout.encrypted) throw Encrypted(path);
    // What cannot be walked here is not handed to FreeXL, whose reading of
    // broken files can take unbounded memory.
    if (!layout.sheetsKnown && layout.truncated)
        throw Refusal(path, "The workbook %1 is truncated or damaged.");
    if (!layout.sheetsKnown) throw OpenFailure(path, FREEXL_OK, layout);
    quint64 cells = 0;
    for (const BiffSheet& s : layout.sheets) cells += quint64(s.rows) * s.columns;
    if (cells > kMaxCells)
        throw Refusal(path, "The workbook %1 is too large to be read: its sheets span " +
                                QString::number(cells) + " cells, more than the " +
                                QString::number(kMaxCells) + " of one full sheet.");
}

SheetCell TextCell(const QString& text) {
    SheetCell cell;
    cell.text = text;
    if (!text.isEmpty()) cell.kind = SheetCell::Text;
    return cell;
}

// A number in a cell of a format of that kind: a date where the format shows
// one the driver can hold, the number otherwise.
SheetCell NumberCell(double value, DateKind kind, bool date1904) {
    SheetCell cell;
    if (const std::optional<QString> date = SerialDateText(value, kind, date1904)) {
        cell.kind = SheetCell::Date;
        cell.text = *date;
    } else {
        cell.kind = SheetCell::Number;
        cell.number = value == 0 ? 0.0 : value;  // no "-0"
    }
    return cell;
}

// A formula cell reads as its result: booleans as the numbers 1 and 0, like
// boolean constants, and errors as empty, like error constants.
SheetCell FormulaCell(const FormulaResult& result, bool date1904) {
    switch (result.kind) {
        case FormulaResult::Number:
            return NumberCell(result.number, result.date, date1904);
        case FormulaResult::Text:
            return TextCell(result.text);
        case FormulaResult::Error:
            break;
    }
    return {};
}

DateKind FreexlDateKind(int type) {
    switch (type) {
        case FREEXL_CELL_DATE:
            return DateKind::Date;
        case FREEXL_CELL_DATETIME:
            return DateKind::DateTime;
        default:
            return DateKind::Time;
    }
}

bool IsReadableName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter) return false;
    return true;
}
}  // namespace

std::unique_ptr<Workbook> Workbook::Open(const QString& path) {
    const BiffLayout layout = ScanBiffLayout(ReadFile(path));
    CheckLayout(path, layout);

    std::unique_ptr<Workbook> book(new Workbook);
    book->path_ = path;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &book->handle_);
    if (rc != FREEXL_OK || !book->handle_) throw OpenFailure(path, rc, layout);

    unsigned int info = 0;
    if (freexl_get_info(book->handle_, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        throw Encrypted(path);
    const int dateRc = freexl_get_info(book->handle_, FREEXL_BIFF_DATEMODE, &info);
    if (dateRc != FREEXL_OK) throw Damaged(path, "its date system cannot be read", dateRc);
    book->date1904_ = info == FREEXL_BIFF_DATEMODE_1904;

    unsigned int count = 0;
    const int countRc = freexl_get_info(book->handle_, FREEXL_BIFF_SHEET_COUNT, &count);
    if (countRc != FREEXL_OK) throw Damaged(path, "its sheets cannot be counted", countRc);
    if (count == 0) throw Refusal(path, "The workbook %1 has no sheets.");
    if (count > 0xFFFF) throw Damaged(path, QString("it announces %1 sheets").arg(count));
    // The sheet kinds are known only when the file's sheet list matches FreeXL's.
    const bool kindsKnown = layout.sheetsKnown && layout.sheets.size() == qsizetype(count);

    QSet<QString> seen;
    for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        const int nameRc = freexl_get_worksheet_name(book->handle_, i, &name);
        if (nameRc != FREEXL_OK)
            throw Damaged(path, QString("the name of sheet %1 cannot be read").arg(i + 1), nameRc);
        const QString text = name ? QString::fromUtf8(name) : QString();
        if (!IsReadableName(text))
            throw Damaged(path, QString("the name of sheet %1 cannot be read").arg(i + 1));
        if (seen.contains(text.toCaseFolded()))
            throw Damaged(path, QString("two sheets are named \"%1\"").arg(text));
        seen.insert(text.toCaseFolded());
        if (kindsKnown && layout.sheets[i].kind != kWorksheetKind) continue;
        if (kindsKnown && !layout.sheets[i].unreadableFormula.isEmpty())
            throw Damaged(path, QString("%1 of sheet \"%2\" cannot be read")
                                    .arg(layout.sheets[i].unreadableFormula, text));
        book->names_.append(text);
        book->freexlIndex_.append(i);
        book->records_.append(kindsKnown ? layout.sheets[i] : BiffSheet());
    }
    if (book->names_.isEmpty())
        throw Refusal(path, "The workbook %1 has no worksheets, only charts or macro sheets.");
    return book;
}

Workbook::~Workbook() {
    if (handle_) freexl_close(handle_);
}

SheetCell Workbook::Cell(unsigned row, unsigned short column, const BiffSheet& records,
                         const QString& sheet) const {
    FreeXL_CellValue v;
    const int rc = freexl_get_cell_value(handle_, row, column, &v);
    const auto where = [&] {
        return QString("cell R%1C%2 of sheet \"%3\"").arg(row + 1).arg(column + 1).arg(sheet);
    };
    if (rc != FREEXL_OK) throw Damaged(path_, where() + " cannot be read", rc);
    switch (v.type) {
        case FREEXL_CELL_NULL: {
            // FreeXL skips formula cells.
            const auto formula = records.formulas.constFind(CellKey(row, column));
            return formula == records.formulas.cend() ? SheetCell()
                                                      : FormulaCell(*formula, date1904_);
        }
        case FREEXL_CELL_INT:
            // FreeXL gives booleans and error constants alike as 1 or 0;
            // booleans count as numbers, errors read as empty.
            if (records.errorCells.contains(CellKey(row, column))) return {};
            return NumberCell(v.value.int_value, DateKind::None, date1904_);
        case FREEXL_CELL_DOUBLE:
            return NumberCell(v.value.double_value, DateKind::None, date1904_);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
            return TextCell(QString::fromUtf8(v.value.text_value));
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: {
            const QString text = QString::fromUtf8(v.value.text_value);
            const std::optional<double> serial = FreexlDateSerial(text, date1904_);
            return serial ? NumberCell(*serial, FreexlDateKind(v.type), date1904_) : TextCell(text);
        }
        default:
            throw Damaged(path_, where() + " has an unknown type");
    }
}

SheetTable Workbook::ReadSheet(int index) const {
    const QString& name = names_.at(index);
    const int selectRc = freexl_select_active_worksheet(handle_, freexlIndex_[index]);
    if (selectRc != FREEXL_OK)
        throw Damaged(path_, "sheet \"" + name + "\" cannot be read", selectRc);
    unsigned int rows = 0;
    unsigned short columns = 0;
    const int dimRc = freexl_worksheet_dimensions(handle_, &rows, &columns);
    if (dimRc != FREEXL_OK)
        throw Damaged(path_, "the size of sheet \"" + name + "\" cannot be read", dimRc);
    if (rows > kMaxRows || columns > kMaxColumns)
        throw Damaged(path_, QString("sheet \"%1\" announces %2 rows and %3 columns")
                                 .arg(name)
                                 .arg(rows)
                                 .arg(columns));
    const BiffSheet& records = records_[index];
    return BuildSheetTable(int(rows), columns, [&](int r, int c) {
        return Cell(unsigned(r), static_cast<unsigned short>(c), records, name);
    });
}
