// A note window's alarm: the sound of a due slot, and the alarm sheet.
#include "PinvelWnd.h"

#include "../alarm/PAlarmPages.h"
#include "../framework/LateLibrary.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PNote.h"

#include <mmsystem.h>

#include <initializer_list>

namespace {

constexpr UINT kAlarmTimer = 2;
constexpr UINT kAlarmPeriodMs = 6000;

BOOL WINAPI SystemPlaySound(LPCWSTR sound, HMODULE module, DWORD flags)
{
    static const auto play = fw::LateFunction<decltype(::PlaySoundW)>(L"winmm.dll", "PlaySoundW");
    return play != nullptr && play(sound, module, flags);
}

UINT_PTR WINAPI SystemSetTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc)
{
    return ::SetTimer(hwnd, id, period, proc);
}

PinvelWnd::PlaySoundFunction g_playSound = &SystemPlaySound;
PinvelWnd::SetTimerFunction g_setTimer = &SystemSetTimer;

// Disabled slots show the moment the sheet opens; enabled ones what they hold.
template <typename Slots, typename Now>
void CopyIn(Slots& to, const Slots& from, const SYSTEMTIME& now, Now setNow)
{
    to = from;
    for (auto& slot : to) {
        if (slot.enabled)
            continue;
        slot.when = DateTimeFromSystemTime(now);
        setNow(slot);
    }
}

// The sheet's slots of one kind go into the note, but where the note's slot changed while
// the sheet was open (taken from another computer), only the ones the user changed.
template <typename Slots>
void CopyChanged(Slots& target, const Slots& before, const Slots& shown, const Slots& chosen)
{
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == before[i] || !(chosen[i] == shown[i]))
            target[i] = chosen[i];
    }
}

} // namespace

void PinvelWnd::SetAlarmFunctions(PlaySoundFunction playSound, SetTimerFunction setTimer)
{
    g_playSound = playSound != nullptr ? playSound : &SystemPlaySound;
    g_setTimer = setTimer != nullptr ? setTimer : &SystemSetTimer;
}

void PinvelWnd::StartAlarm(bool sound)
{
    // A note kept under other windows would ring unseen.
    ComeToFrontForAlarm();
    if (!sound)
        return;
    m_alarmTimer = g_setTimer(m_hWnd, kAlarmTimer, kAlarmPeriodMs, nullptr);
    if (m_alarmTimer == 0) {
        // Nothing would ever stop a looping sound: better none at all.
        StopAlarm();
        return;
    }
    g_playSound(MAKEINTRESOURCEW(IDW_ALARM), fw::ResourceInstance(), SND_RESOURCE | SND_ASYNC | SND_LOOP);
}

void PinvelWnd::StopAlarm()
{
    g_playSound(nullptr, nullptr, 0);
}

void PinvelWnd::EditAlarms()
{
    PSetAlarmPS sheet(m_hWnd);
    PSetGAPP general;
    PSetDAPP daily;
    PSetWAPP weekly;
    PSetMAPP monthly;
    PSetYAPP yearly;
    const AlarmSet& alarms = m_note->m_alarms;
    const SYSTEMTIME now = PNote::LocalTime();
    const int weekday = now.wDayOfWeek + 1;
    CopyIn(general.m_slots, alarms.general, now, [](GeneralAlarm&) {});
    CopyIn(daily.m_slots, alarms.daily, now, [](DailyAlarm&) {});
    CopyIn(weekly.m_slots, alarms.weekly, now, [&](WeeklyAlarm& s) { s.weekday = weekday; });
    CopyIn(monthly.m_slots, alarms.monthly, now, [&](MonthlyAlarm& s) { s.day = now.wDay; });
    CopyIn(yearly.m_slots, alarms.yearly, now, [&](YearlyAlarm& s) {
        s.month = now.wMonth;
        s.day = now.wDay;
    });
    for (fw::PropertyPage* page : std::initializer_list<fw::PropertyPage*>{&general, &daily, &weekly, &monthly, &yearly})
        sheet.AddPage(page);

    const AlarmSet before = m_note->m_alarms;
    AlarmSet shown;
    shown.general = general.m_slots;
    shown.daily = daily.m_slots;
    shown.weekly = weekly.m_slots;
    shown.monthly = monthly.m_slots;
    shown.yearly = yearly.m_slots;
    INT_PTR result = IDCANCEL;
    {
        ModalScope modal(*this);
        result = sheet.DoModal();
    }
    // The note may have been hidden or deleted from the tray meanwhile.
    if (Closed() || result != IDOK)
        return;
    AlarmSet& target = m_note->m_alarms;
    CopyChanged(target.general, before.general, shown.general, general.m_slots);
    CopyChanged(target.daily, before.daily, shown.daily, daily.m_slots);
    CopyChanged(target.weekly, before.weekly, shown.weekly, weekly.m_slots);
    CopyChanged(target.monthly, before.monthly, shown.monthly, monthly.m_slots);
    CopyChanged(target.yearly, before.yearly, shown.yearly, yearly.m_slots);
}
