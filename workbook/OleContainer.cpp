#include "workbook/OleContainer.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>

#include <memory>

#include "workbook/GsfLibrary.h"

namespace {
struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GsfPtr = std::unique_ptr<T, Unref>;

// Excel 5 named the stream "Book"; some writers put either name in capitals.
enum class StreamRole { Other, Workbook, Book, EncryptedPackage };
StreamRole RoleOf(const char* name) {
    const QString n = QString::fromUtf8(name);
    if (n.compare("Workbook", Qt::CaseInsensitive) == 0) return StreamRole::Workbook;
    if (n.compare("Book", Qt::CaseInsensitive) == 0) return StreamRole::Book;
    if (n == "EncryptedPackage") return StreamRole::EncryptedPackage;
    return StreamRole::Other;
}

std::optional<QByteArray> ReadAll(GsfInput* input) {
    const gsf_off_t size = gsf_input_size(input);
    if (size < 0 || size > gsf_off_t(1) << 30) return std::nullopt;
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (size > 0 && !gsf_input_read(input, size_t(size), reinterpret_cast<guint8*>(data.data())))
        return std::nullopt;
    return data;
}
}  // namespace

std::optional<OleStreams> ReadOleStreams(const QByteArray& file, QString& why) {
    InitGsf();
    GsfPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                                file.size(), FALSE));
    GError* error = nullptr;
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &error));
    if (!ole) {
        why = error ? QString::fromUtf8(error->message) : QString("unreadable compound document");
        if (error) g_error_free(error);
        return std::nullopt;
    }
    OleStreams streams;
    std::optional<QByteArray> book;
    for (int i = 0; i < gsf_infile_num_children(ole.get()); ++i) {
        const StreamRole role = RoleOf(gsf_infile_name_by_index(ole.get(), i));
        if (role == StreamRole::EncryptedPackage) streams.encryptedPackage = true;
        if (role != StreamRole::Workbook && role != StreamRole::Book) continue;
        GsfPtr<GsfInput> child(gsf_infile_child_by_index(ole.get(), i));
        if (!child) continue;
        std::optional<QByteArray> data = ReadAll(child.get());
        if (!data) {
            why = "its workbook stream cannot be read";
            return std::nullopt;
        }
        if (role == StreamRole::Workbook)
            streams.workbook = std::move(data);
        else
            book = std::move(data);
    }
    if (!streams.workbook) streams.workbook = std::move(book);
    return streams;
}
