#include "PHome.h"

#include "../core/Naming.h"
#include "../core/NoteFile.h"
#include "../framework/File.h"
#include "../framework/Handle.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <windows.h>

namespace {

constexpr wchar_t kSettingsFile[] = L"Pinvel.ini";

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
    const bool shut = !CanWriteFolder(programFolder) || (fw::FileExists(notes) && !CanWriteFolder(notes));
    if (!shut || userFolder.empty())
        return home;
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
    return home;
}
