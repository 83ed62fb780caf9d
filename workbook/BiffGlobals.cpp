#include "workbook/BiffGlobals.h"

#include "workbook/BiffRecords.h"
#include "workbook/BiffText.h"
#include "workbook/NumberFormat.h"

void BiffGlobals::Record(quint16 type, QByteArrayView data) {
    using namespace Biff;
    if (type == kCodePage && data.size() >= 2) {
        codePage_ = U16(data, 0);
    } else if (type == kXf && version_ >= 5 && data.size() >= 4) {
        xfFormats_.append(U16(data, 2));
    } else if (((type == kXf3 && version_ == 3) || (type == kXf4 && version_ == 4)) &&
               data.size() >= 2) {
        xfFormats_.append(U8(data, 1));
    } else if (type == kFormat && version_ == 8 && data.size() >= 2) {
        if (const auto text = ReadBiff8Text(data.sliced(2))) AddFormat(U16(data, 0), text->text);
    } else if (type == kFormat && (version_ == 4 || version_ == 5) && data.size() >= 3) {
        const QByteArrayView bytes = data.sliced(3, qMin<qsizetype>(U8(data, 2), data.size() - 3));
        // Only the letters count, so a code page without decoder is read as Latin-1.
        const QString text = Text(bytes).value_or(QString::fromLatin1(bytes));
        AddFormat(version_ == 5 ? U16(data, 0) : formatsSeen_++, text);
    } else if (type == kFormat3 && version_ == 3 && data.size() >= 1) {
        const QByteArrayView bytes = data.sliced(1, qMin<qsizetype>(U8(data, 0), data.size() - 1));
        AddFormat(formatsSeen_++, Text(bytes).value_or(QString::fromLatin1(bytes)));
    }
}

void BiffGlobals::AddFormat(quint16 id, const QString& text) {
    // The first format given a number is the one cells show.
    if (!formats_.contains(id)) formats_.insert(id, FormatDateKind(text));
}

DateKind BiffGlobals::DateKindOfXf(quint16 xf) const {
    if (xf >= xfFormats_.size()) return DateKind::None;
    const quint16 format = xfFormats_[xf];
    // BIFF5 and later leave the built-in formats out, or write them as well.
    if (const auto own = formats_.constFind(format); own != formats_.cend()) return *own;
    return version_ >= 5 ? BuiltInFormatKind(format) : DateKind::None;
}

std::optional<QString> BiffGlobals::Text(QByteArrayView bytes) const {
    return CodePageText(bytes, codePage_);
}
