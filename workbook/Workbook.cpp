#include "workbook/Workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "workbook/BiffCells.h"
#include "workbook/BiffRecords.h"
#include "workbook/BiffStream.h"
#include "workbook/BiffText.h"
#include "workbook/OleContainer.h"
#include "workbook/WorkbookRefusal.h"

namespace {
using namespace Biff;

using namespace WorkbookError;

// Sheet kinds of the sheet list (BOUNDSHEET): worksheets and dialog sheets
// hold cells; macro sheets, charts and modules do not.
constexpr quint8 kWorksheetKind = 0;

// Advice for files Excel can still open.
const char* const kSaveAgain =
    " Open it in Excel and save it again as \"Excel 97-2003 Workbook (*.xls)\".";

QByteArray ReadFile(const QString& path) {
    RequireWorkbookFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookRefusal(path, "The workbook %1 cannot be opened: " + file.errorString() + ".",
                              kCannotOpen);
    return file.readAll();
}

bool StartsWithBof(const QByteArray& file) {
    if (file.size() < 4) return false;
    const quint16 first = U16(file, 0);
    return first == kBof2 || first == kBof3 || first == kBof4 || first == kBof;
}

// The workbook stream of a file: the stream of its compound document, or
// the file itself when it is a bare stream, as Excel 3 and 4 wrote them.
QByteArray WorkbookStream(const QString& path, const QByteArray& file) {
    static const QByteArray kOleSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (file.isEmpty()) throw WorkbookRefusal(path, "%1 is an empty file, not an Excel workbook.");
    if (file.startsWith("PK\x03\x04"))
        throw WorkbookRefusal(path,
                              QString("%1 is not an Excel 97-2003 workbook (.xls) but a zip "
                                      "archive, as an Excel 2007 or later workbook (.xlsx) is.") +
                                  kSaveAgain);
    if (StartsWithBof(file)) return file;
    if (!file.startsWith(kOleSignature))
        throw WorkbookRefusal(path, "%1 is not an Excel workbook.");
    QString why;
    const std::optional<OleStreams> streams = ReadOleStreams(file, why);
    if (!streams)
        throw WorkbookRefusal(path, "The workbook %1 is truncated or damaged (" + why + ").");
    if (streams->encryptedPackage) throw EncryptedWorkbook(path);
    if (!streams->workbook)
        throw WorkbookRefusal(path, "%1 is not an Excel workbook: it holds no workbook.");
    return *streams->workbook;
}

bool IsReadableName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter) return false;
    return true;
}

// A sheet of the sheet list: where its records start, its kind, its name.
struct BoundSheet {
    quint32 position = 0;
    quint8 kind = kWorksheetKind;
    std::optional<QString> name;
};

// What the global records say: the date system, the shared strings, the
// formats (in globals) and the sheets.
struct Globals {
    bool date1904 = false;
    QStringList shared;
    QVector<BoundSheet> sheets;
};

QStringList SharedStrings(ContinuedData& data) {
    QStringList strings;
    if (!data.Skip(8)) return strings;  // total and unique counts, often wrong
    while (!data.AtEnd()) {
        std::optional<QString> text = ReadSharedString(data);
        if (!text) break;
        strings.append(*std::move(text));
    }
    return strings;
}

std::optional<QString> SheetName(QByteArrayView d, const BiffGlobals& globals) {
    if (d.size() < 7) return std::nullopt;
    if (globals.Version() == 8) {
        if (d.size() < 8) return std::nullopt;
        ContinuedData name;
        name.Append(d.sliced(8));
        return name.Chars(U8(d, 6), U8(d, 7) & 0x01);
    }
    const qsizetype length = U8(d, 6);
    if (d.size() < 7 + length) return std::nullopt;
    return globals.Text(d.sliced(7, length));
}

Globals ReadGlobals(const QString& path, QByteArrayView stream, BiffGlobals& formats) {
    Globals globals;
    RecordWalk walk(stream, 0);
    walk.Next();  // the BOF
    std::optional<ContinuedData> shared;
    while (const std::optional<BiffRecord> r = walk.Next()) {
        if (r->type == kEof) break;
        if (shared && r->type == kContinue) {
            shared->Append(r->data);
            continue;
        }
        if (shared) globals.shared = SharedStrings(*shared);
        shared.reset();
        switch (r->type) {
            case kFilePass:
                throw EncryptedWorkbook(path);
            case kDateMode:
                globals.date1904 = r->data.size() >= 2 && U16(r->data, 0) == 1;
                break;
            case kSst:
                shared.emplace();
                shared->Append(r->data);
                break;
            case kBoundSheet:
                if (r->data.size() >= 6)
                    globals.sheets.append(
                        {U32(r->data, 0), U8(r->data, 5), SheetName(r->data, formats)});
                break;
            default:
                formats.Record(r->type, r->data);
        }
    }
    if (shared) globals.shared = SharedStrings(*shared);
    return globals;
}
}  // namespace

std::unique_ptr<Workbook> Workbook::Open(const QString& path) {
    const QByteArray stream = WorkbookStream(path, ReadFile(path));
    RecordWalk first(stream, 0);
    const std::optional<BiffRecord> bof = first.Next();
    const int version = bof ? BofVersion(*bof) : 0;
    if (version == 0)
        throw WorkbookRefusal(path, "%1 is not an Excel workbook: its workbook stream is not one.");
    if (version == 2)
        throw WorkbookRefusal(
            path,
            QString("%1 is an Excel 2.x workbook, a format too old to be read.") + kSaveAgain);

    BiffGlobals formats(version);
    // An Excel 3 or 4 file is one worksheet in a bare stream. The file names
    // it nowhere; it is named "Sheet 1", as other readers name it.
    Globals globals = version < 5 ? Globals{false, {}, {{0, kWorksheetKind, QString("Sheet 1")}}}
                                  : ReadGlobals(path, stream, formats);
    if (globals.sheets.isEmpty()) throw WorkbookRefusal(path, "The workbook %1 has no sheets.");

    std::unique_ptr<Workbook> book(new Workbook);
    book->path_ = path;
    const BiffBook context{formats, globals.shared, globals.date1904};
    qsizetype budget = 2 * stream.size();
    QSet<QString> seen;
    for (int i = 0; i < globals.sheets.size(); ++i) {
        const BoundSheet& sheet = globals.sheets[i];
        if (!sheet.name || !IsReadableName(*sheet.name))
            throw DamagedWorkbook(path, QString("the name of sheet %1 cannot be read").arg(i + 1));
        const QString& name = *sheet.name;
        if (seen.contains(name.toCaseFolded()))
            throw DamagedWorkbook(path, QString("two sheets are named \"%1\"").arg(name));
        seen.insert(name.toCaseFolded());
        if (sheet.kind != kWorksheetKind) continue;
        std::optional<BiffCells> read = ReadBiffCells(stream, sheet.position, context, budget);
        if (!read)
            throw WorkbookRefusal(
                path, QString("The workbook %1 is truncated or damaged: sheet \"") + name +
                          "\" cannot be found.");
        if (!read->unreadable.isEmpty())
            throw DamagedWorkbook(
                path, QString("%1 of sheet \"%2\" cannot be read").arg(read->unreadable, name));
        book->names_.append(name);
        book->sheets_.append(std::move(read->grid));
    }
    if (book->names_.isEmpty())
        throw WorkbookRefusal(path,
                              "The workbook %1 has no worksheets, only charts or macro sheets.");
    return book;
}

SheetTable Workbook::ReadSheet(int index) const {
    return SheetTableOf(sheets_.at(index), path_, names_.at(index));
}
