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

std::wstring LoadResStringW(UINT id)
{
    // With no buffer the function hands out the table's own read-only text.
    const wchar_t* text = nullptr;
    const int n = ::LoadStringW(ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || text == nullptr)
        return std::wstring();
    return std::wstring(text, static_cast<std::size_t>(n));
}

std::wstring WideFromAnsi(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string AnsiFromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

std::wstring ModulePath()
{
    // The function cuts a path that does not fit without saying so, beyond filling the buffer.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}

} // namespace fw
