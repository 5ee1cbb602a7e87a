#pragma once
#include <windows.h>
#include <string>

namespace fw {

// The module whose resources the program uses (the program file itself).
HINSTANCE ResourceInstance();

// A string-table entry; empty when the table has none with that id.
std::string LoadResString(UINT id);
// The same entry as the table holds it, whatever the system's code page: for file names.
std::wstring LoadResStringW(UINT id);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...);

// True when the byte starts a double-byte character in the ANSI code page.
bool IsAnsiLeadByte(unsigned char byte);

// Text between the program's byte strings and the wide functions: characters the
// system's code page cannot hold become '?'.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);

// Full path of the program file, however long and whatever characters it holds.
std::wstring ModulePath();

} // namespace fw
