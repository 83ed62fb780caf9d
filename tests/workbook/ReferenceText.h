#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

// What the probes share in writing a sheet as a corpus's reference reading
// does, to compare its digest with the manifest's.

// A number as the reference writes it: rounded to 15 significant digits,
// then the shortest text that reads back as that value, in Python's layout
// (exponent from 1e16 up and below 1e-4, no trailing ".0").
inline QString ReferenceNumber(double value) {
    char buffer[64];
    snprintf(buffer, sizeof buffer, "%.15g", value);
    const double rounded = std::strtod(buffer, nullptr);
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::scientific).ptr;
    const QString sci = QString::fromLatin1(buffer, end - buffer);  // "-d.ddde+XX"
    const qsizetype e = sci.indexOf('e');
    const int exponent = sci.mid(e + 1).toInt();
    const bool negative = sci.startsWith('-');
    QString digits = sci.left(e).remove('-').remove('.');
    QString text;
    if (exponent >= 16 || exponent < -4) {
        text = digits.left(1) + (digits.size() > 1 ? "." + digits.mid(1) : QString()) + "e" +
               (exponent < 0 ? "-" : "+") +
               QString::number(std::abs(exponent)).rightJustified(2, '0');
    } else if (exponent < 0) {
        text = "0." + QString(-exponent - 1, '0') + digits;
    } else if (digits.size() <= exponent + 1) {
        text = digits + QString(exponent + 1 - digits.size(), '0');
    } else {
        text = digits.left(exponent + 1) + "." + digits.mid(exponent + 1);
    }
    return negative ? "-" + text : text;
}

// Takes a sheet's reference text one line at a time; answers false to stop.
using LineSink = std::function<bool(const QByteArray&)>;

// The SHA-256 of the text `write` hands its sink, or "-" when it grows past
// 64 MiB, too large to be worth hashing.
inline QString ReferenceDigest(const std::function<void(const LineSink&)>& write) {
    constexpr qint64 kMaxTextBytes = qint64(64) << 20;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 bytes = 0;
    write([&](const QByteArray& line) {
        bytes += line.size();
        hash.addData(line);
        return bytes <= kMaxTextBytes;
    });
    return bytes > kMaxTextBytes ? "-" : QString::fromLatin1(hash.result().toHex());
}
