// The note's earlier versions in its context menu.
#include "PinvelWnd.h"

#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../store/PVersions.h"
#include "../core/TextRules.h"
#include "../text/PIconMenu.h"

namespace {

// "12/7 16:05  (1.2 KB)", on the local clock.
std::string EntryText(const PVersions::Entry& entry)
{
    const SYSTEMTIME& t = entry.shown;
    return fw::Format(fw::LoadResString(IDS_VERSION_ENTRY).c_str(), t.wMonth, t.wDay, t.wHour, t.wMinute,
                      SizeText(entry.facts.bytes).c_str());
}

} // namespace

void PinvelWnd::FillVersions(PIconMenu& popup)
{
    m_versionEntries.clear();
    PIconMenu* versions = popup.SubMenuStartingWith(ID_NOTE_VERSIONS);
    if (versions == nullptr || m_host == nullptr)
        return;
    const auto entries = PVersions(m_host->NotesFolder()).Of(FileNameOfPath(m_note->GetFilePath()));
    // A note whose text is not in its editor has nothing to take a version into.
    if (entries.empty() || !m_note->IsTextLoaded())
        return;
    ::DeleteMenu(versions->GetHandle(), ID_NOTE_VERSIONS, MF_BYCOMMAND);
    for (std::size_t i = 0; i < entries.size() && i <= kLastVersionCommand - kFirstVersionCommand; ++i) {
        versions->AppendIconItem(MF_STRING, kFirstVersionCommand + i, EntryText(entries[i]).c_str());
        m_versionEntries.push_back(entries[i].path);
    }
}

void PinvelWnd::OnVersionEntry(UINT command)
{
    const std::size_t index = command - kFirstVersionCommand;
    if (index >= m_versionEntries.size() || m_host == nullptr)
        return;
    m_host->RestoreVersion(m_note, m_versionEntries[index]);
}
