#pragma once

#include <QString>

#include "base/AppError.h"

// The numbers a workbook that cannot be read is reported under.
namespace WorkbookError {
constexpr qint32 kFileNotFound = 3024;       // could not find file
constexpr qint32 kCannotOpen = 3051;         // cannot open the file
constexpr qint32 kNotValidPassword = 3031;   // not a valid password
constexpr qint32 kNotExpectedFormat = 3274;  // not in the expected format
}  // namespace WorkbookError

// A refusal whose text names the workbook through the one "%1" of why.
InputMistake WorkbookRefusal(const QString& path, const QString& why,
                             qint32 number = WorkbookError::kNotExpectedFormat);
// "The workbook ... is damaged: detail."
InputMistake DamagedWorkbook(const QString& path, const QString& detail);
InputMistake EncryptedWorkbook(const QString& path);
// Refuses a path that is no regular file before anything opens it: a
// missing one as not found, a folder, pipe or device saying what it is.
void RequireWorkbookFile(const QString& path);
