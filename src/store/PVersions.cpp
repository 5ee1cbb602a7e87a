#include "PVersions.h"

#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <algorithm>

namespace {

SYSTEMTIME SystemUtcTime()
{
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    return now;
}

PVersions::UtcSource g_utcSource = &SystemUtcTime;

VersionStamp StampOf(const SYSTEMTIME& t, bool utc)
{
    return VersionStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, 1, utc};
}

SYSTEMTIME SystemTimeOf(const VersionStamp& t)
{
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(t.year);
    time.wMonth = static_cast<WORD>(t.month);
    time.wDay = static_cast<WORD>(t.day);
    time.wHour = static_cast<WORD>(t.hour);
    time.wMinute = static_cast<WORD>(t.minute);
    time.wSecond = static_cast<WORD>(t.second);
    return time;
}

// A version's moment in both readings, converted by the zone's rules of its date, so a
// summer version reads as summer time in winter. A name of an earlier release holds the
// local reading (in the hour the clocks repeat in autumn, one of two moments: the system
// picks); one the system will not convert is taken as it reads.
void Read(PVersions::Entry& entry)
{
    const SYSTEMTIME named = SystemTimeOf(entry.when);
    SYSTEMTIME utc = named, local = named;
    if (entry.when.utc) {
        if (!::SystemTimeToTzSpecificLocalTime(nullptr, &named, &local))
            local = named;
    } else if (!::TzSpecificLocalTimeToSystemTime(nullptr, &named, &utc)) {
        utc = named;
    }
    entry.shown = local;
    entry.facts.seconds = StampSeconds(StampOf(utc, true));
    entry.facts.shownSeconds = StampSeconds(StampOf(local, false));
    entry.facts.count = entry.when.count;
    entry.facts.utcName = entry.when.utc;
}

// The stem of a note file name, for a search pattern: "N021215 (1)" of "N021215 (1).pvl".
std::wstring StemOfName(const std::wstring& name)
{
    const std::size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

} // namespace

void PVersions::SetUtcSource(UtcSource source)
{
    g_utcSource = source != nullptr ? source : &SystemUtcTime;
}

SYSTEMTIME PVersions::UtcNow()
{
    return g_utcSource();
}

PVersions::PVersions(const std::wstring& notesFolder)
    : m_folder(notesFolder + L"\\" + fw::LoadResStringW(IDS_HISTORY_FOLDER))
{
}

bool PVersions::Add(const std::wstring& notePath, const std::string& bytes) const
{
    if (bytes.size() > kMaxBytesPerNote)
        return false; // over the cap on its own: it would go at once
    fw::MakeFolder(m_folder);
    const std::wstring note = FileNameOfPath(notePath);
    VersionStamp when = StampOf(UtcNow(), true);
    std::wstring name = VersionFileName(note, when);
    while (fw::FileExists(m_folder + L"\\" + name) && when.count < 1000) {
        ++when.count;
        name = VersionFileName(note, when);
    }
    const std::wstring path = m_folder + L"\\" + name;
    const bool kept = fw::ReplaceFileContents(path, bytes);
    Prune(note, path);
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
        Entry entry = {m_folder + L"\\" + found.cFileName, when, {}, {}};
        entry.facts.bytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        Read(entry);
        entries.push_back(entry);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return NewerVersion(a.facts, b.facts); });
    return entries;
}

bool PVersions::HasAny(const std::wstring& noteFileName) const
{
    return !Of(noteFileName).empty();
}

void PVersions::Prune(const std::wstring& noteFileName, const std::wstring& freshPath) const
{
    const std::vector<Entry> entries = Of(noteFileName);
    std::vector<VersionFacts> facts;
    std::size_t fresh = entries.size();
    for (const Entry& entry : entries) {
        if (::lstrcmpiW(entry.path.c_str(), freshPath.c_str()) == 0)
            fresh = facts.size();
        facts.push_back(entry.facts);
    }
    const std::vector<bool> keep = VersionsToKeep(facts, fresh, kMaxBytesPerNote);
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
