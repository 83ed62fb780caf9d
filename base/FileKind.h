#pragma once

#include <QString>

// What a path names when it is not a regular file: "does not exist", "is a
// folder", "is a named pipe (FIFO)", "is a device", ...; empty for a regular
// file. Opening a pipe or a device to read it would wait for a writer or
// never end, so every file the program reads is asked first.
QString NotARegularFile(const QString& path);
