#include "workbook/BiffLayout.h"

#include <QString>
#include <optional>

#include "workbook/BiffGlobals.h"
#include "workbook/BiffRecords.h"

namespace {
using namespace Biff;

constexpr quint32 kMaxRegularSector = 0xFFFFFFFA;  // higher numbers mark free or special sectors
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kNoStream = 0xFFFFFFFF;
constexpr int kHeaderDifatEntries = 109;
constexpr int kDirEntrySize = 128;

// A compound document (OLE2), read only as far as finding one stream needs.
// Every chain is bounded by the file's sector count, so looping or forged
// chains end instead of hanging.
class CompoundFile {
public:
    explicit CompoundFile(const QByteArray& file) : file_(file) {}

    std::optional<QByteArray> WorkbookStream() {
        if (file_.size() < 512) {
            pastEnd_ = true;
            return std::nullopt;
        }
        const int shift = U16(file_, 0x1E);
        if (shift != 9 && shift != 12) return std::nullopt;
        sectorSize_ = 1 << shift;
        if (!ReadFat()) return std::nullopt;
        const auto dir = Chain(U32(file_, 0x30), -1);
        if (!dir || dir->size() < kDirEntrySize) return std::nullopt;
        const std::optional<int> entry = FindWorkbookEntry(*dir);
        if (!entry) return std::nullopt;
        const qsizetype at = qsizetype(*entry) * kDirEntrySize;
        const quint32 start = U32(*dir, at + 0x74);
        const quint32 size = U32(*dir, at + 0x78);
        if (size >= U32(file_, 0x38)) return Chain(start, size);
        return MiniStream(*dir, start, size);
    }

    // True when a sector the file refers to lies past its end: the file was cut short.
    bool PastEnd() const { return pastEnd_; }

private:
    std::optional<QByteArray> Sector(quint32 id) const {
        const qint64 at = (qint64(id) + 1) * sectorSize_;
        if (at + sectorSize_ > file_.size()) {
            pastEnd_ = pastEnd_ || id < kMaxRegularSector;
            return std::nullopt;
        }
        return file_.mid(at, sectorSize_);
    }

    qint64 SectorCount() const { return file_.size() / sectorSize_; }

    bool ReadFat() {
        QVector<quint32> fatSectors;
        const quint32 fatCount = U32(file_, 0x2C);
        if (fatCount > SectorCount()) return false;
        for (int i = 0; i < kHeaderDifatEntries && quint32(fatSectors.size()) < fatCount; ++i)
            fatSectors.append(U32(file_, 0x4C + 4 * i));
        quint32 difat = U32(file_, 0x44);
        for (qint64 steps = 0; quint32(fatSectors.size()) < fatCount; ++steps) {
            const auto sector = Sector(difat);
            if (!sector || steps > SectorCount()) return false;
            const int perSector = sectorSize_ / 4 - 1;
            for (int i = 0; i < perSector && quint32(fatSectors.size()) < fatCount; ++i)
                fatSectors.append(U32(*sector, 4 * i));
            difat = U32(*sector, 4 * perSector);
        }
        for (quint32 id : fatSectors) {
            const auto sector = Sector(id);
            if (!sector) return false;
            for (int i = 0; i < sectorSize_ / 4; ++i) fat_.append(U32(*sector, 4 * i));
        }
        return true;
    }

    // The sectors of a chain joined; size < 0 reads the whole chain.
    std::optional<QByteArray> Chain(quint32 start, qint64 size) const {
        QByteArray out;
        quint32 id = start;
        for (qint64 steps = 0; id != kEndOfChain; ++steps) {
            if (size >= 0 && out.size() >= size) break;
            if (id >= quint32(fat_.size()) || steps > SectorCount()) return std::nullopt;
            const auto sector = Sector(id);
            if (!sector) return std::nullopt;
            out.append(*sector);
            id = fat_[id];
        }
        if (size < 0) return out;
        if (out.size() < size) return std::nullopt;
        return out.left(size);
    }

    std::optional<QByteArray> MiniStream(const QByteArray& dir, quint32 start, quint32 size) const {
        const auto container = Chain(U32(dir, 0x74), U32(dir, 0x78));
        const auto miniFatBytes = Chain(U32(file_, 0x3C), -1);
        if (!container || !miniFatBytes) return std::nullopt;
        constexpr int kMiniSector = 64;
        const qsizetype entries = miniFatBytes->size() / 4;
        QByteArray out;
        quint32 id = start;
        for (qsizetype steps = 0; out.size() < qsizetype(size); ++steps) {
            if (id >= entries || steps > entries) return std::nullopt;
            const qsizetype at = qsizetype(id) * kMiniSector;
            if (at + kMiniSector > container->size()) return std::nullopt;
            out.append(container->mid(at, kMiniSector));
            id = U32(*miniFatBytes, 4 * qsizetype(id));
        }
        return out.left(size);
    }

    // The "Workbook" stream (or "Book", as Excel 5 named it) among the root
    // storage's children; embedded objects keep their own streams deeper down.
    std::optional<int> FindWorkbookEntry(const QByteArray& dir) const {
        const int entries = int(dir.size() / kDirEntrySize);
        std::optional<int> book;
        QVector<quint32> pending{U32(dir, 0x4C)};
        QSet<quint32> seen;
        while (!pending.isEmpty()) {
            const quint32 i = pending.takeLast();
            if (i == kNoStream || i >= quint32(entries) || seen.contains(i)) continue;
            seen.insert(i);
            const qsizetype at = qsizetype(i) * kDirEntrySize;
            pending << U32(dir, at + 0x44) << U32(dir, at + 0x48);
            const int nameBytes = qMin<int>(U16(dir, at + 0x40), 64);
            if (dir[at + 0x42] != 2 || nameBytes < 2) continue;
            const QString name = QString::fromUtf16(
                reinterpret_cast<const char16_t*>(dir.constData() + at), nameBytes / 2 - 1);
            if (name.compare("Workbook", Qt::CaseInsensitive) == 0) return int(i);
            if (name.compare("Book", Qt::CaseInsensitive) == 0) book = int(i);
        }
        return book;
    }

    const QByteArray& file_;
    int sectorSize_ = 512;
    QVector<quint32> fat_;
    mutable bool pastEnd_ = false;
};

// Walks BIFF records from a position; each call hands the next complete one.
class RecordWalk {
public:
    RecordWalk(const QByteArray& stream, qsizetype at) : s_(stream), at_(at) {}
    bool Next() {
        if (at_ < 0 || at_ + 4 > s_.size()) return false;
        type = U16(s_, at_);
        length = U16(s_, at_ + 2);
        if (at_ + 4 + length > s_.size()) return false;
        data = at_ + 4;
        at_ = data + length;
        return true;
    }
    quint16 type = 0;
    quint16 length = 0;
    qsizetype data = 0;

private:
    const QByteArray& s_;
    qsizetype at_;
};

int VersionOfBof(const QByteArray& s, const RecordWalk& r) {
    switch (r.type) {
        case kBof2:
            return 2;
        case kBof3:
            return 3;
        case kBof4:
            return 4;
        case kBof:
            return r.length >= 2 && U16(s, r.data) == 0x0600 ? 8 : 5;
        default:
            return 0;
    }
}

// One sheet's records from its BOF to the matching EOF: its announced size,
// its error constants and the results of its formulas. Charts embedded in
// the sheet nest their own BOF. The globals take in the sheet's records too,
// as FreeXL takes formats from wherever they stand (a BIFF3 or BIFF4 file
// keeps them in its one sheet). budget bounds the bytes all sheets may walk
// together, as a forged sheet list could send every sheet through the whole
// stream; none when spent.
std::optional<BiffSheet> ScanSheet(const QByteArray& s, qsizetype at, int kind,
                                   BiffGlobals& globals, qsizetype& budget) {
    BiffSheet sheet;
    sheet.kind = kind;
    FormulaScan formulas(globals);
    RecordWalk r(s, at);
    int depth = 0;
    while (r.Next()) {
        budget -= 4 + r.length;
        if (budget < 0) return std::nullopt;
        if (VersionOfBof(s, r) != 0) {
            ++depth;
        } else if (r.type == kEof) {
            if (--depth <= 0) break;
        } else if (depth == 1) {
            const QByteArrayView data = QByteArrayView(s).sliced(r.data, r.length);
            globals.Record(r.type, data);
            formulas.Record(r.type, data);
            if (r.type == kDimension) {
                if (globals.Version() == 8 && r.length >= 14) {
                    sheet.rows = U32(s, r.data + 4);
                    sheet.columns = U16(s, r.data + 10);
                } else if (r.length >= 8) {
                    sheet.rows = U16(s, r.data + 2);
                    sheet.columns = U16(s, r.data + 6);
                }
            } else if (r.type == kBoolErr && r.length >= 8 && s[r.data + 7] != 0) {
                sheet.errorCells.insert(CellKey(U16(s, r.data), U16(s, r.data + 2)));
            }
        }
        if (depth == 0) break;
    }
    formulas.Finish();
    sheet.formulas = formulas.Results();
    sheet.unreadableFormula = formulas.Unreadable();
    return sheet;
}

void ScanWorkbookStream(const QByteArray& s, BiffLayout& layout) {
    RecordWalk r(s, 0);
    if (!r.Next()) return;
    layout.biffVersion = VersionOfBof(s, r);
    if (layout.biffVersion == 0) return;
    BiffGlobals globals(layout.biffVersion);
    qsizetype budget = 2 * s.size();
    if (layout.biffVersion < 5) {
        // An Excel 2 to 4 file is one worksheet in a bare stream.
        layout.sheets = {*ScanSheet(s, 0, kWorksheetKind, globals, budget)};
        layout.sheetsKnown = true;
        return;
    }
    QVector<QPair<quint32, int>> bound;  // stream position and kind of each sheet
    while (r.Next() && r.type != kEof) {
        if (r.type == kFilePass) {
            layout.encrypted = true;
            return;
        }
        globals.Record(r.type, QByteArrayView(s).sliced(r.data, r.length));
        if (r.type == kBoundSheet && r.length >= 6)
            bound.append({U32(s, r.data), static_cast<quint8>(s[r.data + 5])});
    }
    for (const auto& [position, kind] : bound) {
        const std::optional<BiffSheet> sheet = ScanSheet(s, position, kind, globals, budget);
        if (!sheet) {
            layout.sheets.clear();
            return;
        }
        layout.sheets.append(*sheet);
    }
    layout.sheetsKnown = true;
}
}  // namespace

BiffLayout ScanBiffLayout(const QByteArray& file) {
    BiffLayout layout;
    static const QByteArray kOleSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (file.isEmpty()) {
        layout.container = Container::Empty;
    } else if (file.startsWith(kOleSignature)) {
        layout.container = Container::Ole;
        CompoundFile compound(file);
        if (const auto stream = compound.WorkbookStream()) ScanWorkbookStream(*stream, layout);
        layout.truncated = compound.PastEnd();
    } else if (file.startsWith("PK\x03\x04")) {
        layout.container = Container::Zip;
    } else if (file.size() >= 4) {
        const quint16 first = U16(file, 0);
        if (first == kBof2 || first == kBof3 || first == kBof4 || first == kBof) {
            layout.container = Container::RawBiff;
            ScanWorkbookStream(file, layout);
        }
    }
    return layout;
}
