// The tray's agenda: the alarms of every note that fire in the days ahead.
#include "PSysTray.h"

#include "../core/AlarmAgenda.h"
#include "../core/TextRules.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"

#include <algorithm>

namespace {

constexpr int kAgendaDays = 7;

struct AgendaEntry {
    DateTime when;
    PNote* note;
};

// "12/8 周二 09:30  title"
std::string EntryText(const AgendaEntry& entry)
{
    const DateTime& t = entry.when;
    const std::string weekday = fw::LoadResString(IDS_SHORT_WEEKDAY_BASE + static_cast<UINT>(t.DayOfWeek()));
    return fw::Format("%d/%d %s %02d:%02d  ", t.Month(), t.Day(), weekday.c_str(), t.Hour(), t.Minute()) +
           EscapeMenuAmpersands(entry.note->GetTitle());
}

} // namespace

void PSysTray::FillAgenda(PIconMenu& agenda)
{
    m_agendaEntries.clear();
    const SYSTEMTIME now = PNote::LocalTime();
    const DateTime from = DateTime::FromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    std::vector<AgendaEntry> entries;
    for (const auto& note : m_host->Notes()) {
        for (const DateTime& when : UpcomingAlarmMinutes(note->m_alarms, from, kAgendaDays))
            entries.push_back({when, note.get()});
    }
    // Alarms of one minute stay in the order of the notes, as they are shown when due.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const AgendaEntry& a, const AgendaEntry& b) { return a.when.Value() < b.when.Value(); });
    const std::size_t shown = std::min<std::size_t>(entries.size(), kLastAgendaCommand - kFirstAgendaCommand + 1);
    if (shown > 0)
        ::DeleteMenu(agenda.GetHandle(), ID_TRAY_NO_ALARMS, MF_BYCOMMAND);
    for (std::size_t i = 0; i < shown; ++i) {
        agenda.AppendIconItem(MF_STRING, kFirstAgendaCommand + i, EntryText(entries[i]).c_str());
        m_agendaEntries.push_back(EntryOf(entries[i].note));
    }
}

void PSysTray::OnAgendaEntry(UINT command)
{
    const std::size_t index = command - kFirstAgendaCommand;
    if (index >= m_agendaEntries.size())
        return;
    // The note may have been deleted since the menu was open.
    if (PNote* note = Listed(*m_host, m_agendaEntries[index]))
        m_host->ShowNote(note);
}
