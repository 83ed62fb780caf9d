#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringDecoder>
#include <optional>

// A part of a workbook package written in UTF-16, turned into the UTF-8 the
// XML readers work on as its bytes stream in from the zip.
class Utf16Part {
public:
    // The transcoder of a part that starts with those bytes, when they are a
    // UTF-16 byte order mark (FF FE little endian, FE FF big endian).
    static std::optional<Utf16Part> Detect(QByteArrayView head);
    // The UTF-8 of the next bytes of the part after its byte order mark; a
    // character cut between two calls comes with the later one. The XML
    // declaration goes: the encoding it names is no longer the bytes', and
    // XML without one is UTF-8.
    QByteArray Transcode(QByteArrayView bytes);

private:
    explicit Utf16Part(QStringConverter::Encoding encoding) : decoder_(encoding) {}

    QStringDecoder decoder_;
    bool started_ = false;  // the part's first characters are through
};
