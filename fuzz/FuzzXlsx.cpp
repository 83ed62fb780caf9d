#include "fuzz/FuzzBook.h"
#include "workbook/XlsxBook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadWholeBook(data, size, [](const QString& path) { return XlsxBook::Open(path); });
    return 0;
}
