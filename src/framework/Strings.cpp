#include "Strings.h"

#include "Language.h"
#include "../res/resource.h"

#include "../core/FourByteText.h"
#include "../core/TextEncoding.h"

#include <array>
#include <climits>
#include <cstdarg>

namespace fw {

HINSTANCE ResourceInstance()
{
    return ::GetModuleHandleW(nullptr);
}

std::string LoadResString(UINT id)
{
    return TextFromWide(LoadResStringW(id));
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

BYTE TextCharSet()
{
    return ::GetACP() == kTextCodePage ? ANSI_CHARSET : GB2312_CHARSET;
}

bool IsTextLeadByte(unsigned char byte)
{
    // Asked for every byte of every note a search looks through: the system is asked
    // once for each byte value.
    static const std::array<bool, 256> lead = [] {
        std::array<bool, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[b] = ::IsDBCSLeadByteEx(kTextCodePage, static_cast<BYTE>(b)) != FALSE;
        return table;
    }();
    return lead[byte];
}

namespace {

// The names the program writes, and the title it gives new notes: the same whatever the
// language, so that files never move when it changes and every user's folder reads alike.
bool IsFixedName(UINT id)
{
    return (id >= IDS_HELP_FILE && id <= IDS_NOTES_FOLDER) || (id >= IDS_DELETED_FOLDER && id <= IDS_OPTIONS_FILE) ||
           id == IDS_HOME_RECORD || id == IDS_DEFAULT_TITLE;
}

} // namespace

std::wstring LoadResStringW(UINT id)
{
    return LocalString(id, IsFixedName(id) ? UiLanguage::Chinese : CurrentUiLanguage());
}

std::wstring WideFromBytes(UINT codePage, std::string_view bytes)
{
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX))
        return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], n);
    return wide;
}

std::string BytesFromWide(UINT codePage, const wchar_t* text, std::size_t length)
{
    if (text == nullptr || length == 0 || length > static_cast<std::size_t>(INT_MAX))
        return std::string();
    const int wide = static_cast<int>(length);
    const int n = ::WideCharToMultiByte(codePage, 0, text, wide, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text, wide, &bytes[0], n, nullptr, nullptr);
    return bytes;
}

std::wstring WideFromText(std::string_view text)
{
    std::wstring wide;
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool lead = byte >= 0x81 && byte <= 0xFE && i + 1 < text.size();
        const char32_t four = lead && StartsFourBytes(text.substr(i)) ? DecodeFourBytes(text.substr(i)) : 0;
        if (four == 0) {
            i += lead ? 2 : 1;
            continue;
        }
        wide += WideFromBytes(kTextCodePage, text.substr(run, i - run));
        if (four >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((four - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((four - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(four);
        }
        i += 4;
        run = i;
    }
    return wide + WideFromBytes(kTextCodePage, text.substr(run));
}

std::string TextFromWideKeepingAll(const std::wstring& text)
{
    // Every character the code page has keeps the bytes it always had; only those it
    // lacks, which came out as "?", take four bytes.
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        const std::size_t length = pair ? 2 : 1;
        const std::string one = BytesFromWide(kTextCodePage, text.data() + i, length);
        char four[4];
        const char32_t codePoint =
            pair ? 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) + (text[i + 1] - 0xDC00) : text[i];
        if (WideFromBytes(kTextCodePage, one) != text.substr(i, length) && EncodeFourBytes(codePoint, four))
            bytes.append(four, 4);
        else
            bytes += one;
        i += length;
    }
    return bytes;
}

std::wstring WideFromFileText(std::string_view bytes)
{
    const DetectedEncoding found = DetectTextEncoding(bytes);
    const std::string_view text = bytes.substr(found.markLength);
    switch (found.encoding) {
    case TextEncoding::Utf8:
        return WideFromBytes(CP_UTF8, text);
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
        const bool big = found.encoding == TextEncoding::Utf16BigEndian;
        std::wstring wide(text.size() / 2, L'\0');
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const auto first = static_cast<unsigned char>(text[2 * i]);
            const auto second = static_cast<unsigned char>(text[2 * i + 1]);
            wide[i] = static_cast<wchar_t>(big ? (first << 8) | second : (second << 8) | first);
        }
        return wide;
    }
    case TextEncoding::CodePage:
    default:
        return WideFromText(text);
    }
}

std::string TextFromWide(const wchar_t* text, std::size_t length)
{
    return BytesFromWide(kTextCodePage, text, length);
}

std::string TextFromWide(const std::wstring& text)
{
    return TextFromWide(text.data(), text.size());
}

std::wstring WindowText(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
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
