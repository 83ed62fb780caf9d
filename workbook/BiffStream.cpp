#include "workbook/BiffStream.h"

#include <QtEndian>

#include "workbook/BiffRecords.h"

std::optional<BiffRecord> RecordWalk::Next() {
    if (at_ < 0 || at_ + 4 > stream_.size()) return std::nullopt;
    const quint16 type = Biff::U16(stream_, at_);
    const quint16 length = Biff::U16(stream_, at_ + 2);
    if (at_ + 4 + length > stream_.size()) return std::nullopt;
    const BiffRecord record{type, stream_.sliced(at_ + 4, length)};
    at_ += 4 + length;
    return record;
}

bool ContinuedData::Ready() {
    while (part_ < parts_.size() && at_ >= parts_[part_].size()) {
        ++part_;
        at_ = 0;
    }
    return part_ < parts_.size();
}

bool ContinuedData::AtEnd() { return !Ready(); }

std::optional<quint8> ContinuedData::U8() {
    if (!Ready()) return std::nullopt;
    return Biff::U8(parts_[part_], at_++);
}

std::optional<quint16> ContinuedData::U16() {
    const auto low = U8();
    const auto high = U8();
    if (!low || !high) return std::nullopt;
    return quint16(*low | *high << 8);
}

std::optional<quint32> ContinuedData::U32() {
    const auto low = U16();
    const auto high = U16();
    if (!low || !high) return std::nullopt;
    return quint32(*low) | quint32(*high) << 16;
}

bool ContinuedData::Skip(qint64 bytes) {
    while (bytes > 0) {
        if (!Ready()) return false;
        const qint64 step = qMin<qint64>(bytes, parts_[part_].size() - at_);
        at_ += step;
        bytes -= step;
    }
    return true;
}

std::optional<QString> ContinuedData::Chars(qsizetype count, bool utf16) {
    QString text;
    text.reserve(count);
    while (text.size() < count) {
        if (part_ < parts_.size() && at_ >= parts_[part_].size()) {
            // The characters go on in the next record, after its flags byte.
            const auto flags = U8();
            if (!flags) return std::nullopt;
            utf16 = *flags & 0x01;
        }
        if (!Ready()) return std::nullopt;
        const QByteArrayView part = parts_[part_];
        const qsizetype width = utf16 ? 2 : 1;
        const qsizetype take = qMin(count - text.size(), (part.size() - at_) / width);
        if (take == 0) return std::nullopt;  // half a character at a record's end
        const char* from = part.data() + at_;
        if (utf16) {
            const qsizetype done = text.size();
            text.resize(done + take);
            qFromLittleEndian<quint16>(from, take, text.data() + done);
        } else {
            text.append(QLatin1StringView(from, take));
        }
        at_ += take * width;
    }
    return text;
}

std::optional<QString> ReadSharedString(ContinuedData& data) {
    const auto count = data.U16();
    const auto flags = data.U8();
    if (!count || !flags) return std::nullopt;
    std::optional<quint16> runs = quint16(0);
    std::optional<quint32> farEast = quint32(0);
    if (*flags & 0x08) runs = data.U16();
    if (*flags & 0x04) farEast = data.U32();
    if (!runs || !farEast) return std::nullopt;
    std::optional<QString> text = data.Chars(*count, *flags & 0x01);
    if (!text || !data.Skip(qint64(*runs) * 4 + *farEast)) return std::nullopt;
    return text;
}
