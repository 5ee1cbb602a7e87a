// Import and export of a note's whole text.
#include "PRichEdit.h"

#include "../core/TextRules.h"
#include "../framework/CommonDialogs.h"
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

namespace {

constexpr char kImportFilter[] =
    "All Files (*.*)|*.*|All Pinvel Files (*.rtf; *.txt)|*.rtf; *.txt|RTF Format Files (*.rtf)|*.rtf|Text Files "
    "(*.txt)|*.txt||";
constexpr char kExportFilter[] = "RTF Format Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt||";
constexpr DWORD kImportFilterEntry = 2;
constexpr DWORD kRtfFilterEntry = 1;

PRichEdit::FileDialogFunction g_fileDialog = &fw::ShowFileDialog;

} // namespace

void PRichEdit::SetFileDialogFunction(FileDialogFunction function)
{
    g_fileDialog = function != nullptr ? function : &fw::ShowFileDialog;
}

void PRichEdit::ImportWithDialog()
{
    std::string path;
    DWORD filterIndex = kImportFilterEntry;
    if (!g_fileDialog(true, ::GetAncestor(m_hWnd, GA_ROOT), kImportFilter, OFN_HIDEREADONLY | OFN_ENABLESIZING, path,
                      filterIndex))
        return;
    ImportFile(path);
}

void PRichEdit::ExportWithDialog()
{
    std::string path;
    DWORD filterIndex = kRtfFilterEntry;
    if (!g_fileDialog(false, ::GetAncestor(m_hWnd, GA_ROOT), kExportFilter,
                      OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ENABLESIZING, path, filterIndex))
        return;
    ExportFile(ExportFileName(path, filterIndex == kRtfFilterEntry, &fw::IsAnsiLeadByte));
}
