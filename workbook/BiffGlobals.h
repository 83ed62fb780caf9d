#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

#include "workbook/NumberFormat.h"

// What a workbook's global records say about reading its cells: the code
// page of 8-bit texts before BIFF8, and which cell formats (XF records) show
// numbers as dates.
class BiffGlobals {
public:
    explicit BiffGlobals(int biffVersion) : version_(biffVersion) {}

    int Version() const { return version_; }
    // Takes in one record of the workbook stream; only CODEPAGE, FORMAT and
    // XF records change anything.
    void Record(quint16 type, QByteArrayView data);
    // How numbers in cells of that cell format show.
    DateKind DateKindOfXf(quint16 xf) const;
    // An 8-bit text in the workbook's code page; none when it cannot be decoded.
    std::optional<QString> Text(QByteArrayView bytes) const;

private:
    void AddFormat(quint16 id, const QString& text);

    int version_;
    quint16 codePage_ = 1252;
    QVector<quint16> xfFormats_;        // the number format of each XF, in file order
    QHash<quint16, DateKind> formats_;  // how the file's own formats show numbers, by id
    quint16 formatsSeen_ = 0;           // BIFF3 and BIFF4 number formats by their order
};
