#include "companies/JetHeader.h"

namespace {
// Page 0 starts with 00 01 00 00, the format name, then the engine version
// at 0x14: 0 for Jet 3 (2 KB pages), 1 for Jet 4 (4 KB pages). Later
// versions are Access 2007+ files, which the directory is never kept in.
constexpr char kSignature[] = "\x00\x01\x00\x00Standard Jet DB";
constexpr int kVersionOffset = 0x14;
constexpr qint64 kJet3PageSize = 2048;
constexpr qint64 kJet4PageSize = 4096;
// Page 2 holds the system catalogue's definition: a database has at least three pages.
constexpr qint64 kMinPages = 3;
}  // namespace

JetHeader CheckJetHeader(const QByteArray& head, qint64 size) {
    const QByteArray signature(kSignature, sizeof kSignature);  // with its closing zero
    if (head.size() < kJetHeaderSize || !head.startsWith(signature)) return JetHeader::NotJet;
    const auto version = static_cast<unsigned char>(head[kVersionOffset]);
    if (version > 1 || head[kVersionOffset + 1] || head[kVersionOffset + 2] ||
        head[kVersionOffset + 3])
        return JetHeader::NotJet;
    const qint64 page = version == 0 ? kJet3PageSize : kJet4PageSize;
    // Jet grows a file a whole page at a time.
    if (size < kMinPages * page || size % page != 0) return JetHeader::Truncated;
    return version == 0 ? JetHeader::Jet3 : JetHeader::Jet4;
}
