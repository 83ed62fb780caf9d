#pragma once

#include <QString>

// A value as one field of a tab-separated line, so that a record stays one
// line whatever it holds: a backslash, tab, carriage return, line feed and
// NUL are written "\\", "\t", "\r", "\n" and "\0". The dump and the verdict
// files write their values so.
QString LineField(const QString& text);
