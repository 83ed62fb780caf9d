#include "database/DbError.h"

namespace {
// The database client's number for a provider failure without a number of
// its own (E_FAIL, "Unspecified error").
constexpr qint32 kProviderError = -2147467259;
}  // namespace

AppError DbFailure(const QSqlError& error) {
    bool numeric = false;
    const qint32 native = error.nativeErrorCode().trimmed().toInt(&numeric);
    const QString text = error.databaseText().trimmed();
    return AppError(numeric ? native : kProviderError,
                    text.isEmpty() ? error.driverText().trimmed() : text);
}
