#include "workbook/BiffGlobals.h"

#include "workbook/BiffRecords.h"
#include "workbook/BiffText.h"

namespace {
// Number formats built into BIFF5 and BIFF8 that show dates and times.
DateKind BuiltInDateKind(quint16 format) {
    switch (format) {
        case 14:
        case 15:
        case 16:
        case 17:
            return DateKind::Date;
        case 18:
        case 19:
        case 20:
        case 21:
        case 45:
        case 46:
        case 47:
            return DateKind::Time;
        case 22:
            return DateKind::DateTime;
        default:
            return DateKind::None;
    }
}
}  // namespace

DateKind FormatDateKind(const QString& format) {
    int y = 0, m = 0, d = 0, h = 0, s = 0;
    for (const QChar c : format) {
        switch (c.unicode()) {
            case 'Y':
            case 'y':
                ++y;
                break;
            case 'M':
            case 'm':
                ++m;
                break;
            case 'D':
            case 'd':
                ++d;
                break;
            case 'H':
            case 'h':
                ++h;
                break;
            case 'S':
            case 's':
                ++s;
                break;
        }
    }
    if (y && m && d && h) return DateKind::DateTime;
    if ((y && m) || (m && d)) return DateKind::Date;
    if ((h && m) || (m && s)) return DateKind::Time;
    return DateKind::None;
}

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
    const DateKind kind = FormatDateKind(text);
    // The first format given a number is the one cells show.
    if (kind != DateKind::None && !dateFormats_.contains(id)) dateFormats_.insert(id, kind);
}

DateKind BiffGlobals::DateKindOfXf(quint16 xf) const {
    if (xf >= xfFormats_.size()) return DateKind::None;
    const quint16 format = xfFormats_[xf];
    if (version_ >= 5) {
        const DateKind builtIn = BuiltInDateKind(format);
        if (builtIn != DateKind::None) return builtIn;
    }
    return dateFormats_.value(format, DateKind::None);
}

std::optional<QString> BiffGlobals::Text(QByteArrayView bytes) const {
    return CodePageText(bytes, codePage_);
}
