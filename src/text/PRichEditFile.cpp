// Import and export of a note's whole text.
#include "PRichEdit.h"

#include "../core/TextRules.h"
#include "../framework/Handle.h"
#include "../framework/Strings.h"

namespace {

bool IsRtfFile(const std::string& path)
{
    return EndsWithNoCase(path, ".rtf", &fw::IsAnsiLeadByte);
}

DWORD CALLBACK ReadFromFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    DWORD read = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &read, nullptr))
        read = 0;
    *done = static_cast<LONG>(read);
    return 0;
}

DWORD CALLBACK WriteToFile(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    DWORD written = 0;
    ::WriteFile(reinterpret_cast<HANDLE>(cookie), buffer, static_cast<DWORD>(count), &written, nullptr);
    *done = count;
    return 0;
}

} // namespace

void PRichEdit::ImportFile(const std::string& path)
{
    if (path.empty())
        return;
    const bool asRtf = IsRtfFile(path);
    fw::Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.Get());
    stream.pfnCallback = &ReadFromFile;
    SendMessage(EM_STREAMIN, asRtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    file.Reset();
    if (!asRtf)
        SetDefaultFont();
}

void PRichEdit::ExportFile(const std::string& path)
{
    if (path.empty())
        return;
    const bool asRtf = IsRtfFile(path);
    fw::Handle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(file.Get());
    stream.pfnCallback = &WriteToFile;
    SendMessage(EM_STREAMOUT, asRtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
}
