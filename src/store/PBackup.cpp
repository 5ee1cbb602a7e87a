#include "PBackup.h"

#include "PNote.h"
#include "../core/Naming.h"
#include "../core/NoteFile.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <set>

namespace {

constexpr wchar_t kSettingsFile[] = L"Pinvel.ini";

std::wstring Lower(std::wstring text)
{
    ::CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// A new folder for this backup, never one that holds an earlier backup.
bool MakeBackupFolder(const std::wstring& into, const SYSTEMTIME& now, std::wstring& folder)
{
    const std::wstring base = fw::WideFromText(
        fw::Format(fw::LoadResString(IDS_BACKUP_FOLDER).c_str(), now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute));
    const std::wstring parent = into.empty() || into.back() == L'\\' ? into : into + L"\\";
    for (int n = 1; n < 1000; ++n) {
        folder = parent + base + (n == 1 ? std::wstring() : L" (" + std::to_wstring(n) + L")");
        if (::CreateDirectoryW(fw::LongPath(folder).c_str(), nullptr))
            return true;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// Copies one file byte for byte, whatever its size; one that another program has open
// for writing (a sync program) is read as it is now. One that is there and cannot be
// copied is named among those missed, as shown.
bool CopyAsIs(const std::wstring& from, const std::wstring& to, const std::wstring& name, PBackup::Result& result,
              const std::wstring& shown)
{
    std::string bytes;
    if (::CopyFileW(fw::LongPath(from + name).c_str(), fw::LongPath(to + name).c_str(), TRUE) ||
        (fw::ReadWholeFile(from + name, bytes, kMaxNoteFileBytes, true) && fw::ReplaceFileContents(to + name, bytes)))
        return true;
    if (fw::FileExists(from + name))
        result.missed.push_back(shown);
    return false;
}

std::wstring Quoted(const std::string& title)
{
    std::wstring text = fw::LoadResStringW(IDS_BACKUP_TITLE);
    const std::size_t at = text.find(L"%s");
    return at == std::wstring::npos ? fw::WideFromText(title) : text.replace(at, 2, fw::WideFromText(title));
}

} // namespace

PBackup::Result PBackup::Write(const std::wstring& into, const std::wstring& home,
                               const std::list<std::unique_ptr<PNote>>& notes, const SYSTEMTIME& now)
{
    Result result;
    if (!MakeBackupFolder(into, now, result.folder)) {
        result.error = ::GetLastError();
        return result;
    }
    const std::wstring folder = result.folder + L"\\";
    const std::wstring notesFolder = home + fw::LoadResStringW(IDS_NOTES_FOLDER) + L"\\";
    CopyAsIs(home, folder, kSettingsFile, result, kSettingsFile);
    // The notes' window settings, beside them as in the notes folder, so that notes put
    // back from the backup sit where they sat.
    const std::wstring options = fw::LoadResStringW(IDS_OPTIONS_FILE);
    CopyAsIs(notesFolder, folder, options, result, options);
    std::set<std::wstring> taken;
    std::set<std::wstring> exported;
    const std::wstring fallback = fw::LoadResStringW(IDS_DEFAULT_TITLE);
    for (const auto& note : notes) {
        const std::wstring name = FileNameOfPath(note->GetFilePath());
        taken.insert(Lower(name));
        // What is on disk, unless the note holds more than its file: then its own bytes,
        // or, when they cannot be written whole (too large), its last good file.
        const bool unsaved = note->IsTextLoaded() && note->HasUnsavedChanges();
        if (!unsaved || !note->WriteCopy(folder + name)) {
            if (!fw::FileExists(note->GetFilePath())) {
                // A note made and never saved has no file; one with text is missing.
                if (unsaved)
                    result.missed.push_back(Quoted(note->GetTitle()));
                continue;
            }
            if (!CopyAsIs(FolderOfPath(note->GetFilePath()), folder, name, result, Quoted(note->GetTitle())))
                continue;
            if (unsaved)
                result.lastSaved.push_back(Quoted(note->GetTitle()));
        }
        ++result.notes;
        std::string file;
        NoteFields fields;
        std::size_t textOffset = 0;
        std::string_view rtf;
        if (!fw::ReadWholeFile(folder + name, file, PNote::MaxFileBytes()) ||
            !DecodeNoteFields(file, fields, textOffset) || !DecodeNoteText(file, textOffset, rtf))
            continue;
        const std::wstring title = FileNameFromTitle(fw::WideFromText(note->GetTitle()), fallback);
        const std::wstring rtfName = FreeFileName(title + L".rtf", [&](const std::wstring& candidate) {
            return exported.count(Lower(candidate)) != 0 || fw::FileExists(folder + candidate);
        });
        exported.insert(Lower(rtfName));
        if (!fw::ReplaceFileContents(folder + rtfName, std::string(rtf)))
            result.missed.push_back(rtfName);
    }
    // The folder's other note files did not load (damaged, too large, of a newer format)
    // or came after the list was made: someone's notes all the same, kept as they are.
    WIN32_FIND_DATAW found;
    const HANDLE first =
        ::FindFirstFileW(fw::LongPath(notesFolder + L"*." + fw::LoadResStringW(IDS_NOTE_EXT)).c_str(), &found);
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> search(first != INVALID_HANDLE_VALUE ? first : nullptr,
                                                              &::FindClose);
    for (bool more = search != nullptr; more; more = ::FindNextFileW(search.get(), &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && taken.insert(Lower(found.cFileName)).second &&
            CopyAsIs(notesFolder, folder, found.cFileName, result, found.cFileName))
            ++result.notes;
    }
    result.done = true;
    return result;
}
