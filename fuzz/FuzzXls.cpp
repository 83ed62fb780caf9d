#include "fuzz/FuzzBook.h"
#include "workbook/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadWholeBook(data, size, [](const QString& path) { return Workbook::Open(path); });
    return 0;
}
