#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVector>
#include <optional>

// One BIFF record: its type and its data, a view into the workbook stream.
struct BiffRecord {
    quint16 type = 0;
    QByteArrayView data;
};

// Walks the records of a workbook stream from a position; ends at the end of
// the stream or at a record that would run past it.
class RecordWalk {
public:
    RecordWalk(QByteArrayView stream, qsizetype at) : stream_(stream), at_(at) {}
    std::optional<BiffRecord> Next();

private:
    QByteArrayView stream_;
    qsizetype at_;
};

// Data a record carries on in CONTINUE records, as the shared-string table
// does: numbers and skipped bytes run across the records' borders, and
// characters that go on in a new record start it with a flags byte saying
// whether they are one byte or two. Every read answers none past the end.
class ContinuedData {
public:
    void Append(QByteArrayView part) { parts_.append(part); }
    bool AtEnd();
    std::optional<quint8> U8();
    std::optional<quint16> U16();
    std::optional<quint32> U32();
    bool Skip(qint64 bytes);
    // count characters, one byte each unless utf16, until a new record says otherwise.
    std::optional<QString> Chars(qsizetype count, bool utf16);

private:
    // Moves past exhausted records; false at the end of the data.
    bool Ready();

    QVector<QByteArrayView> parts_;
    qsizetype part_ = 0;
    qsizetype at_ = 0;
};

// A BIFF8 string of the shared-string table: character count, flags, the
// counts of rich-text runs and far-east data, the characters, then the runs
// and the far-east data, which are skipped.
std::optional<QString> ReadSharedString(ContinuedData& data);
