#include "form/ErrorReporter.h"

#include "base/ErrorLog.h"

void ErrorReporter::Report(const QString& formName, const QString& procName, qint32 number,
                           const QString& description) {
    vars_.ErrFormName = formName;
    vars_.ErrNumber = number;
    vars_.ErrDescription = description;
    vars_.ErrProcName = procName;
    // The dialog shows even when the log cannot be written.
    WriteLog(home_, "Err", vars_.LogText(), clock_());
    op_.ShowError(vars_);
    vars_.Clear();
}
