#include "alarm/PAlarmPages.h"
#include "core/NoteFile.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct SoundCall {
    bool play;
    DWORD flags;
    bool fromResource158;
};
std::vector<SoundCall> g_sounds;
bool g_timerFails = false;

BOOL WINAPI RecordSound(LPCWSTR sound, HMODULE, DWORD flags)
{
    g_sounds.push_back({sound != nullptr, flags, sound == MAKEINTRESOURCEW(158)});
    return TRUE;
}

UINT_PTR WINAPI MaybeSetTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc)
{
    return g_timerFails ? 0 : ::SetTimer(hwnd, id, period, proc);
}

// The fake clock stands at 7 December 2026 (a Monday), 09:41:27.
class Alarms : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        g_sounds.clear();
        g_timerFails = false;
        PinvelWnd::SetAlarmFunctions(&RecordSound, &MaybeSetTimer);
        LogicTest::SetUp();
    }
    void TearDown() override
    {
        LogicTest::TearDown();
        PinvelWnd::SetAlarmFunctions(nullptr, nullptr);
    }
    // A new UTC minute reaches the logic window as its timer does.
    void NextMinute()
    {
        ++wintest::FakeClock::minute;
        logic->SendMessage(WM_TIMER, 1, 0);
    }
    // Runs the alarm sheet of a note's window with an action done inside it.
    void InSheet(PinvelWnd* window, std::function<void(HWND)> action)
    {
        wintest::WhenReady([action] {
            HWND sheet = ::GetActiveWindow();
            if (sheet == nullptr || ::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
                return false;
            action(sheet);
            return true;
        });
        window->SendMessage(WM_COMMAND, 32773, 0);
    }
    static HWND Page(HWND sheet, int index)
    {
        ::SendMessageA(sheet, PSM_SETCURSEL, index, 0);
        return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static void Click(HWND page, int id) { ::SendMessageA(::GetDlgItem(page, id), BM_CLICK, 0, 0); }
    static void Choose(HWND page, int id, int index)
    {
        ::SendMessageA(::GetDlgItem(page, id), CB_SETCURSEL, index, 0);
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
    }
    static void Picked(HWND page, int id, SYSTEMTIME st)
    {
        NMDATETIMECHANGE change = {};
        change.nmhdr.hwndFrom = ::GetDlgItem(page, id);
        change.nmhdr.idFrom = static_cast<UINT_PTR>(id);
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        change.st = st;
        ::SendMessageA(page, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&change));
    }
    static std::string ComboText(HWND page, int id)
    {
        char text[64] = {};
        ::GetWindowTextA(::GetDlgItem(page, id), text, sizeof(text));
        return text;
    }

};

const DateTime kOpened = DateTime::FromFields(2026, 12, 7, 9, 41, 27);

TEST_F(Alarms, ANewNotesSheetShowsTodayEverywhereAndOkStoresIt)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    InSheet(window, [](HWND sheet) {
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, 0x3021))) << "no Apply";
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(sheet, 9))) << "no Help";
        HWND general = Page(sheet, 0);
        EXPECT_EQ(::IsDlgButtonChecked(general, 1050), BST_UNCHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(general, 1049), BST_CHECKED) << "sound on";
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(general, 1049)));
        SYSTEMTIME shown = {};
        ::SendMessageA(::GetDlgItem(general, 1034), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown.wHour, 9);
        EXPECT_EQ(shown.wMinute, 41);
        HWND weekly = Page(sheet, 2);
        EXPECT_EQ(ComboText(weekly, 1081), "\xD0\xC7\xC6\xDA\xD2\xBB"); // 星期一
        HWND yearly = Page(sheet, 4);
        EXPECT_EQ(ComboText(yearly, 1021), "\xCA\xAE\xB6\xFE\xD4\xC2"); // 十二月
        EXPECT_EQ(ComboText(yearly, 1034), "7");
        Click(Page(sheet, 0), 1050);
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    const AlarmSet& alarms = window->GetNote()->m_alarms;
    EXPECT_TRUE(alarms.general[0].enabled);
    EXPECT_EQ(alarms.general[0].when, kOpened) << "the moment the sheet opened";
    EXPECT_FALSE(alarms.daily[3].enabled);
    EXPECT_EQ(alarms.daily[3].when, kOpened) << "disabled slots keep what the sheet showed";
    EXPECT_EQ(alarms.weekly[1].weekday, 2);
    EXPECT_EQ(alarms.yearly[5].month, 12);
    EXPECT_EQ(alarms.yearly[5].day, 7);
}

TEST_F(Alarms, NamesDatesAndTimesGoIntoTheSlots)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    InSheet(window, [](HWND sheet) {
        HWND general = Page(sheet, 0);
        Picked(general, 1021, {2030, 6, 0, 3, 0, 0, 0, 0});   // date only: keeps 09:41:27
        Picked(general, 1044, {1999, 1, 0, 1, 22, 5, 9, 0});  // time only: keeps the day
        Choose(Page(sheet, 2), 1012, 1);                      // 星期一
        Choose(Page(sheet, 3), 1102, 30);                     // 31
        Choose(Page(sheet, 4), 1016, 11);                     // 十二月
        Click(Page(sheet, 4), 1040);                          // row 5's sound off
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    const AlarmSet& alarms = window->GetNote()->m_alarms;
    EXPECT_EQ(alarms.general[1].when, DateTime::FromFields(2030, 6, 3, 9, 41, 27));
    EXPECT_EQ(alarms.general[5].when, DateTime::FromFields(2026, 12, 7, 22, 5, 9));
    EXPECT_EQ(alarms.weekly[0].weekday, 2);
    EXPECT_EQ(alarms.monthly[5].day, 31);
    EXPECT_EQ(alarms.yearly[0].month, 12);
    EXPECT_FALSE(alarms.yearly[4].sound);
}

TEST_F(Alarms, CancelAfterEditsChangesNothing)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    const AlarmSet before = window->GetNote()->m_alarms;
    InSheet(window, [](HWND sheet) {
        Click(Page(sheet, 0), 1052);
        Choose(Page(sheet, 2), 1014, 4);
        Click(Page(sheet, 4), 1027);
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    const AlarmSet& after = window->GetNote()->m_alarms;
    EXPECT_FALSE(after.general[2].enabled);
    EXPECT_EQ(after.weekly[2].weekday, before.weekly[2].weekday);
    EXPECT_EQ(after.general[0].when, before.general[0].when);
}

TEST_F(Alarms, EnabledSlotsShowWhatIsStoredAndOkKeepsEveryByte)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    AlarmSet& alarms = window->GetNote()->m_alarms;
    const DateTime when = DateTime::FromFields(2031, 3, 14, 15, 9, 0);
    // Every slot enabled: a disabled one takes what the sheet shows when it opens.
    for (int i = 0; i < kAlarmSlotsPerKind; ++i) {
        AlarmSlot* const slots[] = {&alarms.general[i], &alarms.daily[i], &alarms.weekly[i], &alarms.monthly[i],
                                    &alarms.yearly[i]};
        for (AlarmSlot* slot : slots) {
            slot->enabled = true;
            slot->when = when;
        }
        alarms.weekly[i].weekday = 5;
        alarms.monthly[i].day = 28;
        alarms.yearly[i].month = 8;
        alarms.yearly[i].day = 30;
    }
    auto encoded = [&] {
        NoteFields fields;
        fields.alarms = alarms;
        return EncodeNoteFile(fields, "");
    };
    const std::string before = encoded();
    InSheet(window, [](HWND sheet) {
        auto shownTime = [](HWND page, int id) {
            SYSTEMTIME st = {};
            ::SendDlgItemMessageA(page, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
            return st;
        };
        auto selected = [](HWND page, int id) { return ::SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0); };
        auto check = [&](const char* when) {
            HWND general = Page(sheet, 0);
            const SYSTEMTIME date = shownTime(general, 1020);
            EXPECT_EQ(date.wYear * 10000 + date.wMonth * 100 + date.wDay, 20310314) << when;
            for (auto [page, id] : {std::pair{0, 1034}, {1, 1062}, {2, 1082}, {3, 1103}, {4, 1008}}) {
                const SYSTEMTIME time = shownTime(Page(sheet, page), id);
                EXPECT_EQ(time.wHour * 100 + time.wMinute, 1509) << when << " page " << page;
            }
            EXPECT_EQ(selected(Page(sheet, 2), 1012), 4) << when << ": Thursday";
            EXPECT_EQ(selected(Page(sheet, 3), 1097), 27) << when << ": the 28th";
            EXPECT_EQ(selected(Page(sheet, 4), 1016), 7) << when << ": August";
            EXPECT_EQ(selected(Page(sheet, 4), 1022), 29) << when << ": the 30th";
        };
        check("opened");
        for (auto [page, id] : {std::pair{0, 1050}, {4, 1027}}) {
            Click(Page(sheet, page), id);
            Click(Page(sheet, page), id);
        }
        check("cleared and checked again");
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(encoded(), before);
}

TEST_F(Alarms, WeekdaysAndMonthsGoByPositionNotByName)
{
    // Where the code page cannot show the names, every entry reads "???".
    PinvelWnd* window = logic->NewNoteAndShow();
    InSheet(window, [](HWND sheet) {
        HWND weekly = Page(sheet, 2);
        HWND yearly = Page(sheet, 4);
        for (auto [page, id, count] : {std::tuple{weekly, 1012, 7}, std::tuple{yearly, 1016, 12}}) {
            HWND combo = ::GetDlgItem(page, id);
            for (int i = 0; i < count; ++i) {
                ::SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
                ::SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>("???"));
            }
        }
        Choose(weekly, 1012, 1);
        Choose(yearly, 1016, 9);
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    const AlarmSet& alarms = window->GetNote()->m_alarms;
    EXPECT_EQ(alarms.weekly[0].weekday, 2) << "Monday";
    EXPECT_EQ(alarms.yearly[0].month, 10) << "October";

    // And a stored number shows its entry by position.
    window->GetNote()->m_alarms.yearly[1].enabled = true;
    window->GetNote()->m_alarms.yearly[1].month = 3;
    InSheet(window, [](HWND sheet) {
        EXPECT_EQ(::SendDlgItemMessageA(Page(sheet, 4), 1017, CB_GETCURSEL, 0, 0), 2);
        ::SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
}

TEST_F(Alarms, HidingOrDeletingTheNoteFromTheTrayEndsTheSheetAsCancelled)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    PNote* note = window->GetNote();
    InSheet(window, [&](HWND sheet) {
        Click(Page(sheet, 0), 1050);
        logic->HideNote(note);
        EXPECT_FALSE(::IsWindow(sheet));
    });
    EXPECT_TRUE(logic->IsHidden(note));
    EXPECT_FALSE(note->m_alarms.general[0].enabled);

    window = logic->ShowNote(note);
    InSheet(window, [&](HWND) { logic->DeleteNote(note); });
    EXPECT_TRUE(logic->Notes().empty());
    EXPECT_TRUE(logic->Windows().empty());
    logic->SendMessage(WM_TIMER, 1, 0); // lets the closed window's object go
}

TEST_F(Alarms, DueSlotShowsTheNoteAndLoopsTheSoundForSixSeconds)
{
    PNote* note = logic->NewNote();
    note->OpenEditor()->StreamInText("wake up", false);
    note->m_alarms.daily[2].enabled = true;
    note->m_alarms.daily[2].when = DateTime::FromFields(2000, 1, 1, 9, 41, 0);
    NextMinute();
    ASSERT_EQ(logic->Windows().size(), 1u) << "a hidden note gets a window";
    PinvelWnd* window = logic->Windows().front().get();
    EXPECT_EQ(window->AlarmTimer(), 2u);
    ASSERT_EQ(g_sounds.size(), 1u);
    EXPECT_TRUE(g_sounds[0].play);
    EXPECT_TRUE(g_sounds[0].fromResource158);
    EXPECT_EQ(g_sounds[0].flags, 0x4000Du);
    window->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(window->AlarmTimer(), 0u);
    ASSERT_EQ(g_sounds.size(), 2u);
    EXPECT_FALSE(g_sounds[1].play) << "stopped once";
    window->SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(g_sounds.size(), 2u);

    NextMinute();
    logic->HideNote(note);
    EXPECT_FALSE(g_sounds.back().play) << "hiding the note stops its sound";

    note->m_alarms.daily[2].sound = false;
    g_sounds.clear();
    NextMinute();
    EXPECT_EQ(logic->Windows().front()->AlarmTimer(), 0u);
    EXPECT_TRUE(g_sounds.empty()) << "no sound asked for";
}

TEST_F(Alarms, ASoundThatNothingWouldStopIsNotStarted)
{
    PNote* note = logic->NewNote();
    note->m_alarms.general[0].enabled = true;
    note->m_alarms.general[0].when = kOpened;
    g_timerFails = true;
    NextMinute();
    ASSERT_FALSE(g_sounds.empty());
    for (const SoundCall& call : g_sounds)
        EXPECT_FALSE(call.play);
}

TEST_F(Alarms, NotesDueTogetherAreShownInListOrderWithTheirText)
{
    PNote* first = logic->NewNote();
    first->OpenEditor()->StreamInText("first", false);
    ASSERT_TRUE(first->Save());
    PNote* second = logic->NewNote();
    ASSERT_TRUE(second->CreateEditor());
    second->m_alarms.monthly[0] = {};
    for (PNote* note : {first, second}) {
        note->m_alarms.weekly[4].enabled = true;
        note->m_alarms.weekly[4].weekday = 2;
        note->m_alarms.weekly[4].when = DateTime::FromFields(2000, 1, 1, 9, 41, 0);
        ASSERT_TRUE(note->Save());
    }
    Start();
    ASSERT_EQ(logic->Notes().size(), 2u);
    NextMinute();
    ASSERT_EQ(logic->Windows().size(), 2u);
    EXPECT_EQ(logic->Windows().front()->GetNote(), logic->Notes().front().get());
    std::string text;
    logic->Windows().front()->GetEditor()->StreamOutText(text, false);
    EXPECT_EQ(text, "first") << "loaded from its file when shown";
}

TEST(AlarmSound, WaveResourceInTheStatedFormat)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(158), "WAVE");
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, found)));
    auto u16 = [&](int at) { return bytes[at] | (bytes[at + 1] << 8); };
    auto u32 = [&](int at) { return static_cast<unsigned>(u16(at) | (u16(at + 2) << 16)); };
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 8, 4), "WAVE");
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(bytes) + 12, 4), "fmt ");
    EXPECT_EQ(u16(20), 2) << "Microsoft ADPCM";
    EXPECT_EQ(u16(22), 1);
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u32(28), 11156u);
    EXPECT_EQ(u16(32), 512);
    EXPECT_EQ(u16(34), 4);
    unsigned at = 20 + u32(16);
    while (std::string(reinterpret_cast<const char*>(bytes) + at, 4) != "data")
        at += 8 + u32(static_cast<int>(at) + 4);
    EXPECT_EQ(u32(static_cast<int>(at) + 4), 11162u);
}

} // namespace
