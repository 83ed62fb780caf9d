#pragma once

// The program's name and version, as --version and the About box show it.
inline constexpr char kVersion[] = "xlsload 20140704";
