#pragma once

#include <QString>
#include <stdexcept>

// The one exception type of the lower layers: a number and a description,
// the driver's native ones where there are any. Handlers catch it at their
// boundary and report it through the error dialog and the daily log.
class AppError : public std::runtime_error {
public:
    AppError(qint32 number, const QString& description)
        : std::runtime_error(description.toStdString()),
          number_(number),
          description_(description) {}

    qint32 Number() const { return number_; }
    const QString& Description() const { return description_; }

private:
    qint32 number_;
    QString description_;
};

// A failure of the input, not of the program: a file that is missing,
// damaged or no workbook, a database file that does not exist. The user
// mends it; it is told plainly and kept out of the error log.
class InputMistake : public AppError {
public:
    using AppError::AppError;
};

// Numbers of the failures the program raises itself. Error logs and
// support notes of till installers know failures by these numbers.
namespace ErrorNumber {
constexpr qint32 InvalidArgument = 5;
constexpr qint32 FileAccess = 75;
constexpr qint32 PathNotFound = 76;
constexpr qint32 ConnectionClosed = 3709;
constexpr qint32 WrongType = 3421;  // a value its column cannot take
}  // namespace ErrorNumber
