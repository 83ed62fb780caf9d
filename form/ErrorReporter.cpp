#include "form/ErrorReporter.h"

#include "base/ErrorLog.h"

void ErrorReporter::Report(const QString& formName, const QString& procName, qint32 number,
                           const QString& description) {
    vars_.ErrFormName = formName;
    vars_.ErrNumber = number;
    vars_.ErrDescription = description;
    vars_.ErrProcName = procName;
    // The dialog shows even when the log cannot be written, and says so.
    if (const QString unlogged = WriteLog(home_, "Err", vars_.LogText(), clock_());
        !unlogged.isEmpty())
        vars_.ErrDescription += "\nThe error log was not written: " + unlogged;
    op_.ShowError(vars_);
    vars_.Clear();
}
