#pragma once

#include <QByteArrayView>
#include <QtEndian>

// Record numbers and little-endian fields of the BIFF records the workbook
// checks read themselves. Callers check the bounds before reading a field.
namespace Biff {
constexpr quint16 kBof2 = 0x0009, kBof3 = 0x0209, kBof4 = 0x0409, kBof = 0x0809;
constexpr quint16 kEof = 0x000A, kFilePass = 0x002F, kBoundSheet = 0x0085;
constexpr quint16 kCodePage = 0x0042, kContinue = 0x003C;
constexpr quint16 kDimension = 0x0200, kBoolErr = 0x0205;
// Cell formats: XF records of BIFF3, BIFF4 and BIFF5/8; FORMAT records of
// BIFF3 and of BIFF4 to 8.
constexpr quint16 kXf3 = 0x0243, kXf4 = 0x0443, kXf = 0x00E0;
constexpr quint16 kFormat3 = 0x001E, kFormat = 0x041E;
// FORMULA records (BIFF5/8 number, and those of BIFF3 and BIFF4, which some
// BIFF8 writers use too) and the STRING record after a text result.
constexpr quint16 kFormula = 0x0006, kFormula3 = 0x0206, kFormula4 = 0x0406;
constexpr quint16 kString = 0x0207;
// Cell records of BIFF3 to BIFF8; LABELSST and the two MUL records are BIFF5/8.
constexpr quint16 kBlank = 0x0201, kNumber = 0x0203, kLabel = 0x0204, kRk = 0x027E;
constexpr quint16 kRString = 0x00D6, kLabelSst = 0x00FD, kMulRk = 0x00BD, kMulBlank = 0x00BE;
// Workbook globals: the date system and the shared-string table.
constexpr quint16 kDateMode = 0x0022, kSst = 0x00FC;

inline quint16 U16(QByteArrayView b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.data() + at);
}
inline quint32 U32(QByteArrayView b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.data() + at);
}
inline quint8 U8(QByteArrayView b, qsizetype at) { return static_cast<quint8>(b[at]); }
}  // namespace Biff

// A cell's key in the sets and maps of a sheet's cells.
inline quint32 CellKey(quint32 row, quint32 column) { return row << 8 | (column & 0xFF); }
inline int KeyRow(quint32 key) { return int(key >> 8); }
inline int KeyColumn(quint32 key) { return int(key & 0xFF); }
