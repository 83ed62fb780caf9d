#pragma once

#include <QSqlError>

#include "base/AppError.h"

// The failure of a database operation as AppError: the driver's native
// number (when it gives one that is a number) and its own text.
AppError DbFailure(const QSqlError& error);
