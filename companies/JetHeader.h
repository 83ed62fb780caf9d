#pragma once

#include <QByteArray>

// What the first bytes and the size of a file say about it, judged before
// libmdb sees the file: libmdb accepts some garbage (an empty file opens)
// and reads past a truncated end without failing.
enum class JetHeader { Jet3, Jet4, NotJet, Truncated };

// Bytes of the file's start that CheckJetHeader needs.
constexpr int kJetHeaderSize = 0x18;

// head: the file's first kJetHeaderSize bytes (fewer when the file is
// shorter); size: the file's length in bytes.
JetHeader CheckJetHeader(const QByteArray& head, qint64 size);
