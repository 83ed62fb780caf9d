#pragma once

#include <QString>
#include <exception>
#include <functional>

#include "base/AppError.h"
#include "base/Clock.h"
#include "base/ErrorVariables.h"
#include "form/Operator.h"

// The error handler every named procedure installs: a failure is recorded in
// the error variables, shown in the error dialog, appended to the daily log,
// the variables are cleared again, and the procedure returns without
// resuming the failed step. A procedure names itself once, in Guard().
class ErrorReporter {
public:
    // Number given to failures that carry none of their own (not AppError).
    static constexpr qint32 kUnexpectedNumber = 5;

    ErrorReporter(ErrorVariables& vars, Operator& op, const QString& home, Clock clock)
        : vars_(vars), op_(op), home_(home), clock_(std::move(clock)) {}

    // Runs body under the handler of procName of form formName; on a failure
    // reports it and then runs afterReport. Answers whether body completed.
    template <class Body>
    bool Guard(const QString& formName, const QString& procName, Body&& body,
               const std::function<void()>& afterReport = {}) {
        try {
            body();
            return true;
        } catch (const InputMistake& e) {
            Report(formName, procName, e.Number(), e.Description(), true);
        } catch (const AppError& e) {
            Report(formName, procName, e.Number(), e.Description());
        } catch (const std::exception& e) {
            Report(formName, procName, kUnexpectedNumber, QString::fromUtf8(e.what()));
        }
        if (afterReport) afterReport();
        return false;
    }

    // inputMistake: the input's failure, which is shown but not logged.
    void Report(const QString& formName, const QString& procName, qint32 number,
                const QString& description, bool inputMistake = false);

    const Clock& Now() const { return clock_; }

private:
    ErrorVariables& vars_;
    Operator& op_;
    const QString& home_;
    Clock clock_;
};
