#include "PVersions.h"

#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

VersionStamp StampOf(const SYSTEMTIME& t)
{
    return VersionStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, 1};
}

bool NewerFirst(const PVersions::Entry& a, const PVersions::Entry& b)
{
    const std::int64_t sa = StampSeconds(a.when), sb = StampSeconds(b.when);
    return sa != sb ? sa > sb : a.when.count > b.when.count;
}

// The stem of a note file name, for a search pattern: "N021215 (1)" of "N021215 (1).pvl".
std::wstring StemOfName(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

} // namespace

PVersions::PVersions(const std::wstring& notesFolder)
    : m_folder(notesFolder + L"\\" + fw::LoadResStringW(IDS_HISTORY_FOLDER))
{
}

bool PVersions::Add(const std::wstring& notePath, const std::string& bytes, const SYSTEMTIME& now) const
{
    if (bytes.size() > kMaxBytesPerNote)
        return false; // over the cap on its own: it would go at once
    fw::MakeFolder(m_folder);
    const std::wstring note = FileNameOfPath(notePath);
    VersionStamp when = StampOf(now);
    std::wstring name = VersionFileName(note, when);
    while (fw::FileExists(m_folder + L"\\" + name) && when.count < 1000) {
        ++when.count;
        name = VersionFileName(note, when);
    }
    const bool kept = fw::ReplaceFileContents(m_folder + L"\\" + name, bytes);
    Prune(note, now);
    return kept;
}

std::vector<PVersions::Entry> PVersions::Of(const std::wstring& noteFileName) const
{
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    const std::wstring pattern = m_folder + L"\\" + StemOfName(noteFileName) + L" *";
    HANDLE search = ::FindFirstFileW(fw::LongPath(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        VersionStamp when;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            !ParseVersionFileName(found.cFileName, noteFileName, when))
            continue;
        const std::uint64_t bytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entries.push_back({m_folder + L"\\" + found.cFileName, when, bytes});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(entries.begin(), entries.end(), &NewerFirst);
    return entries;
}

bool PVersions::HasAny(const std::wstring& noteFileName) const
{
    return !Of(noteFileName).empty();
}

void PVersions::Prune(const std::wstring& noteFileName, const SYSTEMTIME& now) const
{
    const std::vector<Entry> entries = Of(noteFileName);
    std::vector<VersionFacts> facts;
    for (const Entry& entry : entries)
        facts.push_back({StampSeconds(entry.when), entry.bytes});
    const std::vector<bool> keep = VersionsToKeep(facts, StampSeconds(StampOf(now)), kMaxBytesPerNote);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!keep[i])
            ::DeleteFileW(fw::LongPath(entries[i].path).c_str());
    }
}

void PVersions::Rename(const std::wstring& oldFileName, const std::wstring& newFileName) const
{
    if (::lstrcmpiW(oldFileName.c_str(), newFileName.c_str()) == 0)
        return;
    for (const Entry& entry : Of(oldFileName)) {
        const std::wstring to = m_folder + L"\\" + VersionFileName(newFileName, entry.when);
        ::MoveFileW(fw::LongPath(entry.path).c_str(), fw::LongPath(to).c_str());
    }
}

void PVersions::RemoveAll(const std::wstring& noteFileName) const
{
    for (const Entry& entry : Of(noteFileName))
        ::DeleteFileW(fw::LongPath(entry.path).c_str());
}
