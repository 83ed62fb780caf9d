#pragma once

#include <QString>
#include <optional>

// The error being reported. Outside a report every member is empty.
struct ErrorVariables {
    QString ErrFormName;
    std::optional<qint32> ErrNumber;
    QString ErrDescription;
    QString ErrProcName;
    // An InputMistake: shown as a plain message, not as a failure.
    bool ErrInputMistake = false;

    void Clear() { *this = ErrorVariables{}; }
    // "(MINSERT>ConnectDSN) -2147467259 description", the text of a log line.
    QString LogText() const {
        return "(" + ErrFormName + ">" + ErrProcName + ") " +
               QString::number(ErrNumber.value_or(0)) + " " + ErrDescription;
    }
};
