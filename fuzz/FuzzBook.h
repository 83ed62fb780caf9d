#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "workbook/Book.h"

// Opens the fuzzer's input as a workbook file with `open` and reads every
// sheet of it. A refusal (AppError) is a right answer; anything else that
// escapes, or a sanitizer report, is a finding.
void ReadWholeBook(const uint8_t* data, size_t size,
                   const std::function<std::unique_ptr<Book>(const QString&)>& open);
