#include "import/SheetValues.h"

#include "base/AppError.h"
#include "base/ValueText.h"

namespace {
// "Invalid use of Null": a value the rule needs is empty.
constexpr qint32 kInvalidUseOfNull = 94;
}  // namespace

QVariant AsText(const QVariant& value) {
    if (value.isNull()) return value;
    return ValueText(value);
}

QVariant Left(const QVariant& value, int n) {
    if (value.isNull()) return value;
    return ValueText(value).left(n);
}

QString TextOf(const RecordContext& r, const QString& column) {
    const QVariant v = r.V(column);
    if (v.isNull())
        throw AppError(kInvalidUseOfNull, "Invalid use of Null: the sheet value of " + column +
                                              " is empty and is needed here");
    return ValueText(v);
}
