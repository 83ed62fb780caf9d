#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

// A cell whose formula gives an error ("#DIV/0!", "#N/A"). It holds no value
// and reads as an empty text, but it is not an empty cell: no column can
// take it, so Verify must be able to tell it apart.
struct CellError {
    QString text;
    friend bool operator==(const CellError&, const CellError&) = default;
};
Q_DECLARE_METATYPE(CellError)

inline QVariant ErrorValue(const QString& text) { return QVariant::fromValue(CellError{text}); }
inline bool IsCellError(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<CellError>();
}
