#include "workbook/XlsxPackage.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include "base/AppError.h"
#include "workbook/GsfLibrary.h"
#include "workbook/Utf16Part.h"
#include "workbook/WorkbookRefusal.h"

namespace {
using namespace WorkbookError;

// Reads one part from the zip as the XML reader asks for more, in UTF-8: a
// part written in UTF-16 (as its byte order mark says) is transcoded.
class PartDevice : public QIODevice {
public:
    // Takes over the references of the entry and the folders above it.
    explicit PartDevice(QList<GObject*> chain)
        : chain_(std::move(chain)), input_(GSF_INPUT(chain_.last())) {
        open(QIODevice::ReadOnly);
        QByteArray head(qMin<qint64>(2, gsf_input_remaining(input_)), 0);
        if (ReadRaw(head.data(), head.size()) < 0) return;
        utf16_ = Utf16Part::Detect(head);
        if (!utf16_) pending_ = head;
    }
    ~PartDevice() override {
        for (auto it = chain_.rbegin(); it != chain_.rend(); ++it) g_object_unref(*it);
    }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return QIODevice::bytesAvailable() + pending_.size() +
               (failed_ ? 0 : gsf_input_remaining(input_));
    }
    bool failed() const { return failed_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (failed_) return -1;
        while (utf16_ && pending_.isEmpty()) {
            QByteArray chunk(qMin<qint64>(kUtf16Chunk, gsf_input_remaining(input_)), 0);
            if (chunk.isEmpty()) return 0;
            if (ReadRaw(chunk.data(), chunk.size()) < 0) return -1;
            pending_ = utf16_->Transcode(chunk);
        }
        const qint64 n = qMin<qint64>(maxSize, pending_.size());
        memcpy(data, pending_.constData(), size_t(n));
        pending_.remove(0, n);
        if (utf16_ || n == maxSize) return n;
        const qint64 more = ReadRaw(data + n, maxSize - n);
        return more < 0 ? -1 : n + more;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    static constexpr qint64 kUtf16Chunk = 64 * 1024;

    // Up to maxSize bytes of the part as the zip holds it.
    qint64 ReadRaw(char* data, qint64 maxSize) {
        const qint64 n = qMin<qint64>(maxSize, gsf_input_remaining(input_));
        if (n <= 0) return 0;
        if (!gsf_input_read(input_, size_t(n), reinterpret_cast<guint8*>(data))) {
            failed_ = true;
            return -1;
        }
        return n;
    }

    QList<GObject*> chain_;
    GsfInput* input_;
    bool failed_ = false;
    std::optional<Utf16Part> utf16_;  // for a part written in UTF-16
    QByteArray pending_;              // bytes for the reader ahead of the rest of the part
};

bool StartsWith(const QByteArray& head, const char* magic, int length) {
    return head.size() >= length && memcmp(head.constData(), magic, size_t(length)) == 0;
}

// An OLE compound file where a workbook package is expected: an encrypted
// package, or something else (an .xls, a damaged file).
InputMistake OleRefusal(const QString& path, GsfInput* input) {
    GError* error = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &error);
    g_clear_error(&error);
    bool encrypted = false;
    if (ole) {
        for (const char* name : {"EncryptionInfo", "EncryptedPackage"}) {
            if (GsfInput* child = gsf_infile_child_by_name(ole, name)) {
                encrypted = true;
                g_object_unref(child);
            }
        }
        g_object_unref(ole);
    }
    if (encrypted) return EncryptedWorkbook(path);
    return WorkbookRefusal(path,
                           "%1 is not an Excel 2007 or later workbook (.xlsx) but a compound "
                           "document, as an Excel 97-2003 workbook (.xls) is, or it is damaged.");
}
}  // namespace

QString PartKey(const QString& part) {
    QString key = part;
    key.replace('\\', '/');
    while (key.startsWith('/')) key.remove(0, 1);
    return key.toCaseFolded();
}

QString ResolvePart(const QString& sourcePart, const QString& target) {
    QString t = target;
    t.replace('\\', '/');
    QStringList parts;
    if (!t.startsWith('/')) {
        parts = sourcePart.split('/', Qt::SkipEmptyParts);
        if (!parts.isEmpty()) parts.removeLast();
    }
    for (const QString& step : t.split('/', Qt::SkipEmptyParts)) {
        if (step == "..") {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (step != ".") {
            parts.append(step);
        }
    }
    return parts.join('/');
}

QString RelationshipsPart(const QString& part) {
    const qsizetype slash = part.lastIndexOf('/');
    return part.left(slash + 1) + "_rels/" + part.mid(slash + 1) + ".rels";
}

std::unique_ptr<XlsxPackage> XlsxPackage::Open(const QString& path) {
    InitGsf();
    RequireWorkbookFile(path);
    const QFileInfo info(path);
    if (info.size() == 0)
        throw WorkbookRefusal(path, "%1 is an empty file, not an Excel workbook.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw WorkbookRefusal(path, "The workbook %1 cannot be opened: " + file.errorString() + ".",
                              kCannotOpen);
    const QByteArray head = file.read(8);
    file.close();

    GError* error = nullptr;
    GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), &error);
    g_clear_error(&error);
    if (!input) throw WorkbookRefusal(path, "The workbook %1 cannot be opened.", kCannotOpen);
    if (StartsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        const InputMistake refusal = OleRefusal(path, input);
        g_object_unref(input);
        throw refusal;
    }
    if (!StartsWith(head, "PK", 2)) {
        g_object_unref(input);
        throw WorkbookRefusal(path, "%1 is not an Excel workbook.");
    }
    GsfInfile* zip = gsf_infile_zip_new(input, &error);
    g_clear_error(&error);
    g_object_unref(input);
    if (!zip)
        throw WorkbookRefusal(path,
                              "The workbook %1 is damaged or truncated: its zip directory "
                              "cannot be read.");
    std::unique_ptr<XlsxPackage> package(new XlsxPackage);
    package->zip_ = zip;
    package->AddEntries(zip, {});
    return package;
}

XlsxPackage::~XlsxPackage() {
    if (zip_) g_object_unref(zip_);
}

void XlsxPackage::AddEntries(void* folder, const QStringList& path) {
    GsfInfile* infile = static_cast<GsfInfile*>(folder);
    const int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(infile, i);
        if (!name) continue;
        const QStringList entry = path + QStringList{QString::fromUtf8(name)};
        GsfInput* child = gsf_infile_child_by_index(infile, i);
        if (!child) continue;
        if (GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) > 0)
            AddEntries(child, entry);
        else
            entries_.insert(PartKey(entry.join('/')), entry);
        g_object_unref(child);
    }
}

bool XlsxPackage::Has(const QString& part) const { return entries_.contains(PartKey(part)); }

std::unique_ptr<QIODevice> XlsxPackage::OpenPart(const QString& part) const {
    const auto entry = entries_.constFind(PartKey(part));
    if (entry == entries_.cend()) return nullptr;
    QList<GObject*> chain;
    GsfInfile* folder = static_cast<GsfInfile*>(zip_);
    for (const QString& name : *entry) {
        GsfInput* child =
            folder ? gsf_infile_child_by_name(folder, name.toUtf8().constData()) : nullptr;
        if (!child) {
            for (GObject* o : chain) g_object_unref(o);
            return nullptr;
        }
        chain.append(G_OBJECT(child));
        folder = GSF_IS_INFILE(child) ? GSF_INFILE(child) : nullptr;
    }
    return std::make_unique<PartDevice>(std::move(chain));
}

bool XlsxPackage::Failed(const QIODevice& part) {
    return static_cast<const PartDevice&>(part).failed();
}
