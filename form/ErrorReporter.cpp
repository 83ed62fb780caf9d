#include "form/ErrorReporter.h"

#include "base/ErrorLog.h"

void ErrorReporter::Report(const QString& formName, const QString& procName, qint32 number,
                           const QString& description, bool inputMistake) {
    vars_.ErrFormName = formName;
    vars_.ErrNumber = number;
    vars_.ErrDescription = description;
    vars_.ErrProcName = procName;
    vars_.ErrInputMistake = inputMistake;
    // The dialog shows even when the log cannot be written, and says so.
    if (!inputMistake)
        if (const QString unlogged = WriteLog(home_, "Err", vars_.LogText(), clock_());
            !unlogged.isEmpty())
            vars_.ErrDescription += "\nThe error log was not written: " + unlogged;
    op_.ShowError(vars_);
    vars_.Clear();
}
