#include "workbook/Utf16Part.h"

#include <QString>

std::optional<Utf16Part> Utf16Part::Detect(QByteArrayView head) {
    if (head.startsWith("\xFF\xFE")) return Utf16Part(QStringConverter::Utf16LE);
    if (head.startsWith("\xFE\xFF")) return Utf16Part(QStringConverter::Utf16BE);
    return std::nullopt;
}

QByteArray Utf16Part::Transcode(QByteArrayView bytes) {
    QString text = decoder_.decode(bytes);
    if (!started_ && !text.isEmpty()) {
        started_ = true;
        if (text.startsWith(u"<?xml")) {
            const qsizetype end = text.indexOf(u"?>");
            if (end >= 0) text.remove(0, end + 2);
        }
    }
    return text.toUtf8();
}
