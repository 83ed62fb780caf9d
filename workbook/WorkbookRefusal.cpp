#include "workbook/WorkbookRefusal.h"

#include <QDir>

#include "base/FileKind.h"

InputMistake WorkbookRefusal(const QString& path, const QString& why, qint32 number) {
    return InputMistake(number, why.arg("\"" + QDir::toNativeSeparators(path) + "\""));
}

InputMistake DamagedWorkbook(const QString& path, const QString& detail) {
    return WorkbookRefusal(path, "The workbook %1 is damaged: " + detail + ".");
}

InputMistake EncryptedWorkbook(const QString& path) {
    return WorkbookRefusal(path,
                           "The workbook %1 is password protected (encrypted) and cannot be read. "
                           "Remove its password in Excel and save it again.",
                           WorkbookError::kNotValidPassword);
}

void RequireWorkbookFile(const QString& path) {
    const QString what = NotARegularFile(path);
    if (what.isEmpty()) return;
    if (what == "does not exist")
        throw WorkbookRefusal(path, "Could not find the workbook %1.",
                              WorkbookError::kFileNotFound);
    throw WorkbookRefusal(path, "%1 " + what + ", not a workbook file.",
                          WorkbookError::kCannotOpen);
}
