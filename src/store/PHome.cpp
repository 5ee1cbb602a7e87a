#include "PHome.h"

#include "../core/Naming.h"
#include "../core/NoteFile.h"
#include "../framework/File.h"
#include "../framework/Handle.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace {

constexpr wchar_t kSettingsFile[] = L"Pinvel.ini";
// The record of moved program folders is a few lines; anything larger is not the program's.
constexpr std::size_t kMaxRecordBytes = 1024 * 1024;

bool SameBytes(const std::wstring& a, const std::wstring& b)
{
    std::string first, second;
    return fw::ReadWholeFile(a, first, kMaxNoteFileBytes, true) && fw::ReadWholeFile(b, second, kMaxNoteFileBytes, true) &&
           first == second;
}

// Copies every note file of one notes folder that is not there yet, and its settings
// when there are none yet. Never moves and never writes over a file: a clash gets the
// next free name, so the notes at the source stay as they were.
int CopyNotes(const std::wstring& from, const std::wstring& to)
{
    if (from.empty() || !fw::FileExists(from))
        return 0;
    ::CopyFileW(fw::LongPath(from + kSettingsFile).c_str(), fw::LongPath(to + kSettingsFile).c_str(), TRUE);
    const std::wstring notes = fw::LoadResStringW(IDS_NOTES_FOLDER);
    const std::wstring source = from + notes + L"\\";
    const std::wstring target = to + notes + L"\\";
    const std::wstring options = fw::LoadResStringW(IDS_OPTIONS_FILE);
    ::CopyFileW(fw::LongPath(source + options).c_str(), fw::LongPath(target + options).c_str(), TRUE);
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((source + L"*." + fw::LoadResStringW(IDS_NOTE_EXT)).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int copied = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        if (SameBytes(source + found.cFileName, target + found.cFileName))
            continue; // in both the program folder and its VirtualStore copy: once is enough
        const std::wstring name = FreeFileName(
            found.cFileName, [&](const std::wstring& candidate) { return fw::FileExists(target + candidate); });
        if (::CopyFileW(fw::LongPath(source + found.cFileName).c_str(), fw::LongPath(target + name).c_str(), TRUE))
            ++copied;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return copied;
}

// A folder's name as the file system compares it: letter case aside, with its backslash.
std::wstring FolderKey(std::wstring folder)
{
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    ::CharUpperBuffW(&folder[0], static_cast<DWORD>(folder.size()));
    return folder;
}

bool IsRecorded(const std::string& record, const std::wstring& programFolder)
{
    const std::wstring key = FolderKey(programFolder);
    // Notepad may have been there: its UTF-8 starts with a byte-order mark.
    std::size_t from = record.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (from < record.size()) {
        const std::size_t end = std::min(record.find('\n', from), record.size());
        std::string_view line(record.data() + from, end - from);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && FolderKey(fw::WideFromBytes(CP_UTF8, line)) == key)
            return true;
        from = end + 1;
    }
    return false;
}

// Adds the program folder to the record of those whose notes moved to the user's folder.
// A record that is there but cannot be read is left alone rather than written short.
void Record(const std::wstring& userFolder, const std::wstring& programFolder)
{
    const std::wstring path = userFolder + fw::LoadResStringW(IDS_HOME_RECORD);
    std::string record;
    if (!fw::ReadWholeFile(path, record, kMaxRecordBytes) && fw::FileExists(path))
        return;
    if (IsRecorded(record, programFolder))
        return;
    if (!record.empty() && record.back() != '\n')
        record += "\r\n";
    record += fw::BytesFromWide(CP_UTF8, programFolder.c_str(), programFolder.size()) + "\r\n";
    fw::ReplaceFileContents(path, record);
}

} // namespace

bool CanWriteFolder(const std::wstring& folder)
{
    wchar_t name[48];
    ::wsprintfW(name, L"~pinvel.%lx%lx.tmp", ::GetCurrentProcessId(), ::GetTickCount());
    fw::Handle file(::CreateFileW(fw::LongPath(folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.IsValid();
}

std::wstring VirtualStoreOf(const std::wstring& folder, const std::wstring& localFolder)
{
    if (localFolder.empty() || folder.size() < 3 || folder[1] != L':' || folder[2] != L'\\')
        return std::wstring();
    return localFolder + L"VirtualStore" + folder.substr(2);
}

PHome PHome::Find(const std::wstring& programFolder, const std::wstring& userFolder, const std::wstring& localFolder)
{
    PHome home;
    home.folder = programFolder;
    const std::wstring notes = programFolder + fw::LoadResStringW(IDS_NOTES_FOLDER) + L"\\";
    // An installed copy is looked for first: its folder is the program's, which an
    // upgrade replaces and an uninstall empties, and may well be writable by the user.
    home.installed = fw::FileExists(programFolder + kInstalledMarker);
    const bool shut =
        home.installed || !CanWriteFolder(programFolder) || (fw::FileExists(notes) && !CanWriteFolder(notes));
    if (userFolder.empty())
        return home;
    if (!shut) {
        // Once its notes moved, a program folder that can be written again (a start as
        // administrator, rights given back) must not bring back the old notes there and
        // take the edits away from the user's folder. A folder never shut is not listed,
        // so a copy on a stick keeps its notes beside itself.
        std::string record;
        if (fw::ReadWholeFile(userFolder + fw::LoadResStringW(IDS_HOME_RECORD), record, kMaxRecordBytes) &&
            IsRecorded(record, programFolder)) {
            home.folder = userFolder;
            home.perUser = true;
        }
        return home;
    }
    const std::wstring userNotes = userFolder + fw::LoadResStringW(IDS_NOTES_FOLDER);
    const bool existed = fw::FileExists(userNotes);
    fw::MakeFolders(userFolder);
    if (!existed && (!fw::MakeFolder(userNotes) || !CanWriteFolder(userNotes + L"\\")))
        return home; // nowhere better: every failed save is still told and rescued
    home.folder = userFolder;
    home.perUser = true;
    // Once, when the user's folder is new: later the notes there are the user's own,
    // and a copy of the old ones again would only bring back what they deleted.
    if (!existed) {
        home.madeNow = true;
        // The VirtualStore first: while Windows redirected the older program, its copy of
        // the settings was the one in use.
        home.copied = CopyNotes(VirtualStoreOf(programFolder, localFolder), userFolder);
        home.copied += CopyNotes(programFolder, userFolder);
    }
    // At every such start, so that notes that moved before there was a record are
    // listed at their next start.
    Record(userFolder, programFolder);
    return home;
}
