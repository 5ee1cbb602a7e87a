#include "POptions.h"

#include "PFolderWatch.h"

#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

namespace {

// Far more than thousands of notes' lines: anything larger is not the program's file.
constexpr std::size_t kMaxSideFileBytes = 4u * 1024 * 1024;

// Note file names are kept as UTF-8, so a folder carried to a computer of another code
// page still finds its notes.
std::string Key(const std::wstring& noteFileName)
{
    return fw::BytesFromWide(CP_UTF8, noteFileName.c_str(), noteFileName.size());
}

} // namespace

std::int64_t POptions::Now()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // 100 ns ticks from 1601; 2000-01-01 is 125911584000000000 of them.
    return (ticks - 125911584000000000LL) / 10000000;
}

void POptions::Load(const std::wstring& notesFolder)
{
    m_path = notesFolder + L"\\" + fw::LoadResStringW(IDS_OPTIONS_FILE);
    m_changed = false;
    std::string bytes;
    if (!fw::ReadWholeFile(m_path, bytes, kMaxSideFileBytes))
        bytes.clear();
    m_file = ReadSideFile(bytes);
    Hold(bytes);
}

void POptions::Hold(const std::string& bytes)
{
    m_held = FileStateOf(m_path);
    m_heldDigest = ContentDigest(bytes);
}

SideFileMerge POptions::TakeFromDisk()
{
    std::string bytes;
    if (!fw::ReadWholeFile(m_path, bytes, kMaxSideFileBytes))
        bytes.clear();
    const bool known = ContentDigest(bytes) == m_heldDigest;
    const SideFile theirs = ReadSideFile(bytes);
    Hold(bytes);
    if (known)
        return SideFileMerge();
    SideFileMerge merge = MergeSideFile(m_file, theirs);
    // Gone, or lacking what this copy has: written again.
    if (!m_held.exists || WriteSideFile(m_file) != bytes)
        m_changed = true;
    return merge;
}

bool POptions::SaveIfChanged()
{
    if (!m_changed || m_path.empty())
        return true;
    const std::string bytes = WriteSideFile(m_file);
    if (!fw::ReplaceFileContents(m_path, bytes))
        return false;
    Hold(bytes);
    m_changed = false;
    return true;
}

NoteOptions POptions::Of(const std::wstring& noteFileName) const
{
    const auto found = m_file.notes.find(Key(noteFileName));
    return found != m_file.notes.end() ? found->second : NoteOptions();
}

void POptions::Set(const std::wstring& noteFileName, const NoteOptions& options)
{
    const std::string key = Key(noteFileName);
    const auto found = m_file.notes.find(key);
    // A note left at the defaults needs no line of its own.
    const NoteOptions before = found != m_file.notes.end() ? found->second : NoteOptions();
    if (before.SameChoices(options))
        return;
    NoteOptions& kept = m_file.notes[key];
    kept = options;
    kept.stamp = Now();
    m_changed = true;
}

void POptions::Rename(const std::wstring& from, const std::wstring& to)
{
    const auto found = m_file.notes.find(Key(from));
    if (found == m_file.notes.end())
        return;
    NoteOptions options = found->second;
    m_file.notes.erase(found);
    options.stamp = Now();
    m_file.notes[Key(to)] = options;
    m_changed = true;
}

void POptions::Forget(const std::wstring& noteFileName)
{
    if (m_file.notes.erase(Key(noteFileName)) != 0)
        m_changed = true;
}

void POptions::SetLanguage(LanguageChoice choice)
{
    if (choice == m_file.program.language)
        return;
    m_file.program.language = choice;
    m_file.program.stamp = Now();
    m_changed = true;
}

void POptions::SetHotkeys(const HotkeyOptions& hotkeys)
{
    if (hotkeys.keys == m_file.hotkeys.keys && hotkeys.toldTaken == m_file.hotkeys.toldTaken)
        return;
    m_file.hotkeys = hotkeys;
    m_file.hotkeys.stamp = Now();
    m_changed = true;
}
