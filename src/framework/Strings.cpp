#include "Strings.h"

#include <cstdarg>
#include <vector>

namespace fw {

HINSTANCE ResourceInstance()
{
    return ::GetModuleHandleA(nullptr);
}

std::string LoadResString(UINT id)
{
    // LoadStringA cannot report the length it needs, and a double-byte character that
    // does not fit whole is left out, so a result within two bytes of the end may be cut.
    std::vector<char> buffer(256);
    for (;;) {
        const int n = ::LoadStringA(ResourceInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0)
            return std::string();
        if (static_cast<std::size_t>(n) + 2 < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(&out[0], out.size(), format, args);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

std::string ModulePath()
{
    char path[MAX_PATH] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n < MAX_PATH ? n : MAX_PATH);
}

} // namespace fw
