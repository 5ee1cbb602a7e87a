#include "LateLibrary.h"

namespace fw {

FARPROC LateProcAddress(const wchar_t* library, const char* name)
{
    // Never freed: a function found here may be called until the process ends. The
    // process's manifest decides which version of a side-by-side library this loads.
    HMODULE module = ::GetModuleHandleW(library);
    if (module == nullptr)
        module = ::LoadLibraryW(library);
    return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

} // namespace fw
