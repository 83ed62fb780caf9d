#include "workbook/XlsxBook.h"

#include <QDir>
#include <QSet>

#include "base/AppError.h"
#include "workbook/MemoryBudget.h"
#include "workbook/WorkbookRefusal.h"
#include "workbook/XlsxParts.h"
#include "workbook/XlsxXml.h"

namespace {
// The workbook part: the package's main document, by its relationship or
// else by its content type.
QString FindWorkbookPart(const XlsxPackage& package) {
    if (auto rels = package.OpenPart("_rels/.rels")) {
        for (const XlsxRelationship& r : ReadRelationships(*rels, "_rels/.rels", {}))
            if (IsRelationshipType(r.type, u"officeDocument") && package.Has(r.part)) return r.part;
    }
    if (auto types = package.OpenPart("[Content_Types].xml")) {
        const QString part = ReadWorkbookContentType(*types, "[Content_Types].xml");
        if (!part.isEmpty() && package.Has(part)) return part;
    }
    return {};
}
}  // namespace

std::unique_ptr<XlsxBook> XlsxBook::Open(const QString& path) {
    std::unique_ptr<XlsxBook> book(new XlsxBook);
    book->path_ = path;
    book->package_ = XlsxPackage::Open(path);
    try {
        const QString workbookPart = FindWorkbookPart(*book->package_);
        if (workbookPart.isEmpty())
            throw WorkbookRefusal(path,
                                  "%1 is not an Excel workbook: its package holds no workbook.");
        const XlsxWorkbookInfo info = ReadWorkbookInfo(*book->Part(workbookPart), workbookPart);
        const QString relsPart = RelationshipsPart(workbookPart);
        QHash<QString, XlsxRelationship> rels;
        if (auto device = book->package_->OpenPart(relsPart))
            rels = ReadRelationships(*device, relsPart, workbookPart);

        book->context_.date1904 = info.date1904;
        for (const XlsxRelationship& r : rels) {
            if (IsRelationshipType(r.type, u"sharedStrings") && book->package_->Has(r.part))
                book->context_.sharedStrings = ReadSharedStrings(*book->Part(r.part), r.part);
            else if (IsRelationshipType(r.type, u"styles") && book->package_->Has(r.part))
                book->context_.cellFormats = ReadCellFormats(*book->Part(r.part), r.part);
        }
        QSet<QString> seen;
        for (const XlsxSheetEntry& sheet : info.sheets) {
            // Chart, dialog and macro sheets, and sheets whose part is
            // missing, are no worksheets to read.
            const auto r = rels.constFind(sheet.relationshipId);
            if (r == rels.cend() || !IsRelationshipType(r->type, u"worksheet") ||
                !book->package_->Has(r->part))
                continue;
            if (sheet.name.isEmpty()) throw XlsxFault{"a worksheet has no name"};
            if (seen.contains(sheet.name.toCaseFolded()))
                throw XlsxFault{QString("two sheets are named \"%1\"").arg(sheet.name)};
            seen.insert(sheet.name.toCaseFolded());
            book->names_.append(sheet.name);
            book->parts_.append(r->part);
        }
    } catch (const XlsxFault& fault) {
        throw DamagedWorkbook(path, fault.what);
    } catch (const MemoryShortfall& shortfall) {
        throw WorkbookRefusal(path, "The workbook %1 is " + ShortfallText(shortfall) + ".");
    }
    if (book->names_.isEmpty()) throw WorkbookRefusal(path, "The workbook %1 has no worksheets.");
    return book;
}

std::unique_ptr<QIODevice> XlsxBook::Part(const QString& part) const {
    auto device = package_->OpenPart(part);
    if (!device) throw XlsxFault{part + " cannot be opened"};
    return device;
}

CellGrid XlsxBook::ReadGrid(int index) const {
    try {
        return ReadWorksheet(*Part(parts_.at(index)), parts_.at(index), context_);
    } catch (const XlsxFault& fault) {
        throw DamagedWorkbook(
            path_, QString("sheet \"%1\" cannot be read: %2").arg(names_.at(index), fault.what));
    } catch (const MemoryShortfall& shortfall) {
        throw SheetTooLarge(path_, names_.at(index), shortfall);
    }
}

SheetTable XlsxBook::ReadSheet(int index) const {
    return SheetTableOf(ReadGrid(index), path_, names_.at(index));
}
