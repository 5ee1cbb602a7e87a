#pragma once
#include <windows.h>

namespace fw {

// A function of a system library the start does not call: the library is loaded at the
// first such call, not before the program's first line, and kept for the process's life.
// Null when the library or the function is missing.
FARPROC LateProcAddress(const wchar_t* library, const char* name);

template <typename Function>
Function* LateFunction(const wchar_t* library, const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(LateProcAddress(library, name)));
}

} // namespace fw
