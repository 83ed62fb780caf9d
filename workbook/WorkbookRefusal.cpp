#include "workbook/WorkbookRefusal.h"

#include <QDir>

AppError WorkbookRefusal(const QString& path, const QString& why, qint32 number) {
    return AppError(number, why.arg("\"" + QDir::toNativeSeparators(path) + "\""));
}

AppError DamagedWorkbook(const QString& path, const QString& detail) {
    return WorkbookRefusal(path, "The workbook %1 is damaged: " + detail + ".");
}

AppError EncryptedWorkbook(const QString& path) {
    return WorkbookRefusal(path,
                           "The workbook %1 is password protected (encrypted) and cannot be read. "
                           "Remove its password in Excel and save it again.",
                           WorkbookError::kNotValidPassword);
}
