// Import and export of a note's whole text.
#include "PRichEdit.h"

#include "../core/TextRules.h"
#include "../core/NoteFile.h"
#include "../framework/CommonDialogs.h"
#include "../framework/File.h"
#include "../framework/Language.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <iterator>

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

bool PRichEdit::ExportFile(const std::wstring& path, bool asUtf8)
{
    if (path.empty())
        return false;
    std::string bytes;
    if (asUtf8 && !IsRtfFile(path)) {
        // The mark tells every reader, Notepad included, that the bytes are UTF-8.
        std::wstring plain;
        if (!StreamOutPlain(plain))
            return false;
        bytes = "\xEF\xBB\xBF" + fw::BytesFromWide(CP_UTF8, plain.data(), plain.size());
    } else if (!StreamOutText(bytes, IsRtfFile(path))) {
        return false;
    }
    return fw::ReplaceFileContents(path, bytes);
}

namespace {

enum class ExportKind { Rtf, Text, Utf8 };

struct FilterEntry {
    UINT description;
    const char* pattern;
};

constexpr FilterEntry kImportEntries[] = {
    {IDS_FILTER_ALL, "*.*"}, {IDS_FILTER_PINVEL, "*.rtf; *.txt"}, {IDS_FILTER_RTF, "*.rtf"}, {IDS_FILTER_TEXT, "*.txt"}};
constexpr DWORD kImportFilterEntry = 2;

// A Chinese user keeps the list as it always was, with UTF-8 added last; everyone else
// is offered UTF-8 first, which any editor of theirs reads.
constexpr ExportKind kChineseExports[] = {ExportKind::Rtf, ExportKind::Text, ExportKind::Utf8};
constexpr ExportKind kEnglishExports[] = {ExportKind::Utf8, ExportKind::Rtf, ExportKind::Text};

FilterEntry EntryOf(ExportKind kind)
{
    switch (kind) {
    case ExportKind::Rtf:
        return {IDS_FILTER_RTF, "*.rtf"};
    case ExportKind::Text:
        return {IDS_FILTER_TEXT, "*.txt"};
    default:
        return {IDS_FILTER_UTF8, "*.txt"};
    }
}

// The common dialog's list: description and pattern, one after the other, each ended
// by a bar, the whole ended by one more.
std::string FilterList(const FilterEntry* entries, std::size_t count)
{
    std::string list;
    for (std::size_t i = 0; i < count; ++i)
        list += fw::LoadResString(entries[i].description) + "|" + entries[i].pattern + "|";
    return list + "|";
}

const ExportKind* ExportKinds()
{
    return fw::CurrentUiLanguage() == UiLanguage::English ? kEnglishExports : kChineseExports;
}

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
    const std::string filter = FilterList(kImportEntries, std::size(kImportEntries));
    if (!g_fileDialog(true, ::GetAncestor(m_hWnd, GA_ROOT), filter.c_str(), OFN_HIDEREADONLY | OFN_ENABLESIZING, path,
                      filterIndex))
        return;
    ImportFile(path);
}

void PRichEdit::ExportWithDialog()
{
    std::wstring path;
    DWORD filterIndex = 1;
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    const ExportKind* kinds = ExportKinds();
    FilterEntry entries[std::size(kChineseExports)];
    for (std::size_t i = 0; i < std::size(entries); ++i)
        entries[i] = EntryOf(kinds[i]);
    const std::string filter = FilterList(entries, std::size(entries));
    if (!g_fileDialog(false, owner, filter.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ENABLESIZING, path,
                      filterIndex))
        return;
    const ExportKind kind = filterIndex >= 1 && filterIndex <= std::size(entries) ? kinds[filterIndex - 1] : kinds[0];
    const std::wstring target = ExportFileName(path, kind == ExportKind::Rtf);
    // The dialog asked about the name it returned; a name the filter's extension was
    // added to afterwards is asked about here.
    if (target != path && fw::FileExists(target)) {
        const std::string question =
            fw::Format(fw::LoadResString(IDS_EXPORT_REPLACE).c_str(), fw::TextFromWide(target).c_str());
        if (fw::ShowMessage(owner, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
            return;
    }
    ExportFile(target, kind == ExportKind::Utf8);
}
