// Commands whose work is not built yet. Each refuses with a clear error
// rather than pretending to work; they move out of here as they are built.
#include "../sources/Connection.h"
#include "Minsert.h"

namespace {
[[noreturn]] void NotBuilt(const char* what) {
    throw AppError(ErrorReporter::kUnexpectedNumber,
                   QString("%1 is not available in this version").arg(what));
}
}  // namespace

void Minsert::ConnectDSN() { NotBuilt("Connecting to a database"); }
