#pragma once

#include <QString>

// Opens the main window on the program folder home and runs it until it
// closes; answers the exit status. A QApplication must exist.
int RunWindow(const QString& home);
