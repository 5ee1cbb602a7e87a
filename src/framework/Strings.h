#pragma once
#include <windows.h>
#include <string>

namespace fw {

// The module whose resources the program uses (the program file itself).
HINSTANCE ResourceInstance();

// A string-table entry; empty when the table has none with that id.
std::string LoadResString(UINT id);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...);

// True when the byte starts a double-byte character in the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

// Full path of the program file.
std::string ModulePath();

} // namespace fw
