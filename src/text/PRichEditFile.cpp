// Import and export of a note's whole text.
#include "PRichEdit.h"

#include "../core/TextRules.h"
#include "../core/NoteFile.h"
#include "../framework/CommonDialogs.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

namespace {

bool IsRtfFile(const std::wstring& path)
{
    return EndsWithNoCase(path, L".rtf");
}

} // namespace

bool PRichEdit::ImportFile(const std::wstring& path)
{
    if (path.empty())
        return false;
    // Read whole before anything is replaced: a file that breaks off while being read
    // must not cost the note its text.
    std::string bytes;
    if (!fw::ReadWholeFile(path, bytes, kMaxNoteFileBytes, true))
        return false;
    std::string before;
    if (!StreamOutText(before, true))
        return false;
    // A text file may be UTF-8 or UTF-16 as well as the program's code page.
    const bool rtf = IsRtfFile(path);
    const std::wstring plain = rtf ? std::wstring() : fw::WideFromFileText(bytes);
    if (rtf ? StreamInText(bytes, true) : StreamInPlain(plain) && (bytes.empty() || !plain.empty()))
        return true;
    StreamInText(before, true);
    const std::string name = fw::TextFromWide(FileNameOfPath(path));
    fw::ShowMessage(::GetAncestor(m_hWnd, GA_ROOT),
                    fw::Format(fw::LoadResString(IDS_IMPORT_TOO_LONG).c_str(), name.c_str(),
                               static_cast<int>(kTextLimit)),
                    MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool PRichEdit::ExportFile(const std::wstring& path)
{
    if (path.empty())
        return false;
    std::string bytes;
    if (!StreamOutText(bytes, IsRtfFile(path)))
        return false;
    return fw::ReplaceFileContents(path, bytes);
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
    std::wstring path;
    DWORD filterIndex = kImportFilterEntry;
    if (!g_fileDialog(true, ::GetAncestor(m_hWnd, GA_ROOT), kImportFilter, OFN_HIDEREADONLY | OFN_ENABLESIZING, path,
                      filterIndex))
        return;
    ImportFile(path);
}

void PRichEdit::ExportWithDialog()
{
    std::wstring path;
    DWORD filterIndex = kRtfFilterEntry;
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!g_fileDialog(false, owner, kExportFilter, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ENABLESIZING, path,
                      filterIndex))
        return;
    const std::wstring target = ExportFileName(path, filterIndex == kRtfFilterEntry);
    // The dialog asked about the name it returned; a name the filter's extension was
    // added to afterwards is asked about here.
    if (target != path && fw::FileExists(target)) {
        const std::string question =
            fw::Format(fw::LoadResString(IDS_EXPORT_REPLACE).c_str(), fw::TextFromWide(target).c_str());
        if (fw::ShowMessage(owner, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    ExportFile(target);
}
