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
    std::string settings;
    if (fw::ReadWholeFile(home + kSettingsFile, settings, 64 * 1024) &&
        !fw::ReplaceFileContents(folder + kSettingsFile, settings)) {
        result.error = ::GetLastError();
        return result;
    }
    // The notes' window settings, beside them as in the notes folder, so that notes put
    // back from the backup sit where they sat.
    const std::wstring options = fw::LoadResStringW(IDS_OPTIONS_FILE);
    std::string sideFile;
    if (fw::ReadWholeFile(home + fw::LoadResStringW(IDS_NOTES_FOLDER) + L"\\" + options, sideFile,
                          4u * 1024 * 1024) &&
        !fw::ReplaceFileContents(folder + options, sideFile)) {
        result.error = ::GetLastError();
        return result;
    }
    std::set<std::wstring> exported;
    const std::wstring fallback = fw::LoadResStringW(IDS_DEFAULT_TITLE);
    for (const auto& note : notes) {
        const std::wstring name = FileNameOfPath(note->GetFilePath());
        std::string file;
        // What is on disk, unless the note holds more than its file: then its own bytes.
        const bool unsaved = note->IsTextLoaded() && note->HasUnsavedChanges();
        const bool copied = unsaved ? note->WriteCopy(folder + name)
                                    : fw::ReadWholeFile(note->GetFilePath(), file, PNote::MaxFileBytes(), true) &&
                                          fw::ReplaceFileContents(folder + name, file);
        if (!copied) {
            if (!unsaved && !fw::FileExists(note->GetFilePath()))
                continue; // a note made and never saved has no file yet, nor any text
            result.error = ::GetLastError();
            return result;
        }
        if (unsaved && !fw::ReadWholeFile(folder + name, file, PNote::MaxFileBytes()))
            continue;
        NoteFields fields;
        std::size_t textOffset = 0;
        std::string_view rtf;
        if (!DecodeNoteFields(file, fields, textOffset) || !DecodeNoteText(file, textOffset, rtf))
            continue;
        const std::wstring title = FileNameFromTitle(fw::WideFromText(note->GetTitle()), fallback);
        const std::wstring rtfName = FreeFileName(title + L".rtf", [&](const std::wstring& candidate) {
            return exported.count(Lower(candidate)) != 0 || fw::FileExists(folder + candidate);
        });
        exported.insert(Lower(rtfName));
        if (!fw::ReplaceFileContents(folder + rtfName, std::string(rtf))) {
            result.error = ::GetLastError();
            return result;
        }
        ++result.notes;
    }
    result.done = true;
    return result;
}
