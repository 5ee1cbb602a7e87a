#include "framework/Messages.h"
#include "core/NoteFile.h"
#include "dialogs/PAboutDlg.h"
#include "dialogs/PFindNotesDlg.h"
#include "dialogs/PTitleDlg.h"
#include "framework/App.h"
#include "framework/Strings.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PIconMenu.h"
#include "res/resource.h"
#include "tray/PSysTray.h"
#include "LogicTest.h"

#include <cstddef>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

auto& g_calls = wintest::ShellCalls::calls;

bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!::GetIconInfo(icon, &info))
        return false;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return true;
}

// What the show-note submenu held while the tray menu was open.
struct Entry {
    std::string text;
    bool checked;
    bool grayed;
};
std::vector<Entry> g_entries;
PSysTray* g_tray = nullptr;
int g_menusOpened = 0;

// Reads the show-note submenu once the tray menu is open, then closes the menu.
bool ReadMenuAndClose()
{
    PIconMenu* menu = g_tray->TrackedMenu();
    if (menu == nullptr)
        return false;
    g_entries.clear();
    ++g_menusOpened;
    HMENU notes = ::GetSubMenu(::GetSubMenu(menu->GetHandle(), 0), 4);
    for (int i = 0; i < ::GetMenuItemCount(notes); ++i) {
        char text[256] = {};
        ::GetMenuStringA(notes, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        const UINT state = ::GetMenuState(notes, static_cast<UINT>(i), MF_BYPOSITION);
        g_entries.push_back({text, (state & MF_CHECKED) != 0, (state & MF_GRAYED) != 0});
    }
    ::EndMenu();
    return true;
}

class Tray : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        LogicTest::SetUp();
        g_tray = logic->Tray();
    }
    // As the shell sends an event of the fourth version, which the fake shell takes.
    LRESULT Notify(WORD icon, WORD event, POINT at = {})
    {
        return logic->Tray()->SendMessage(WM_TRAY_NOTIFY, MAKEWPARAM(at.x, at.y), MAKELPARAM(event, icon));
    }
    std::vector<Entry> OpenMenu()
    {
        g_entries = {{"<menu never opened>", false, false}};
        wintest::WhenReady(&ReadMenuAndClose);
        Notify(1, WM_RBUTTONDOWN);
        EXPECT_EQ(logic->Tray()->TrackedMenu(), nullptr) << "only while tracked";
        return g_entries;
    }
};

TEST_F(Tray, IconAddedAtCreationRemovedWithTheWindowAndBackWithTheTaskbar)
{
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].first, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_EQ(g_calls[1].second.uVersion, 4u);
    const auto& [message, data] = g_calls[0];
    EXPECT_EQ(message, static_cast<DWORD>(NIM_ADD));
    // The second version of the wide record, the first that carries balloons: it ends
    // with the balloon's flags.
    EXPECT_EQ(data.cbSize, offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(data.dwInfoFlags));
    EXPECT_EQ(data.hWnd, logic->Tray()->GetHwnd());
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 0x7EAu);
    EXPECT_NE(data.hIcon, nullptr);
    EXPECT_STREQ(data.szTip, fw::LoadResStringW(2300).c_str());
    EXPECT_EQ(wintest::ClassName(data.hWnd), "PCN_SYSTRAY");
    EXPECT_EQ(::GetParent(data.hWnd), logic->GetHwnd());

    EXPECT_FALSE(IconAlive(data.hIcon)) << "the shell has its own copy; ours is released";

    // As the shell announces itself: to every top-level window, and the tray is a child.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_ABORTIFHUNG, 2000,
                          &answer);
    ASSERT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(g_calls[2].first, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_calls[2].second.hWnd, data.hWnd);
    EXPECT_EQ(g_calls[3].first, static_cast<DWORD>(NIM_SETVERSION)) << "a new taskbar knows no version";

    HWND tray = data.hWnd;
    logic->DestroyWindow();
    ASSERT_EQ(g_calls.size(), 5u);
    EXPECT_EQ(g_calls[4].first, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_calls[4].second.hWnd, tray);
    EXPECT_EQ(g_calls[4].second.uID, 1u);
}

TEST_F(Tray, DoubleClickMakesExactlyOneNoteOtherMessagesNothing)
{
    Notify(1, WM_LBUTTONDOWN);
    Notify(1, WM_LBUTTONUP);
    Notify(2, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(logic->Notes().empty());
    Notify(1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(logic->Notes().size(), 1u);
    EXPECT_EQ(logic->Windows().size(), 1u);
}

TEST_F(Tray, TheKeyboardReachesTheIconInTheVersionTheShellTook)
{
    constexpr WORD kSelect = NIN_SELECT, kKeySelect = NIN_SELECT | NINF_KEY;
    Notify(1, kSelect);
    EXPECT_TRUE(logic->Notes().empty()) << "a single click's select does nothing";
    // Enter on the icon; some shells tell of one press twice.
    Notify(1, kKeySelect);
    Notify(1, kKeySelect);
    EXPECT_EQ(logic->Notes().size(), 1u);

    // A right click is a press and then a context menu: one menu. The menu key alone
    // opens it at the point the shell gives.
    g_menusOpened = 0;
    wintest::WhenReady(&ReadMenuAndClose);
    Notify(1, WM_RBUTTONDOWN);
    Notify(1, WM_CONTEXTMENU, {700, 500});
    EXPECT_EQ(g_menusOpened, 1);
    ::Sleep(::GetDoubleClickTime() + 50);
    wintest::WhenReady(&ReadMenuAndClose);
    Notify(1, WM_CONTEXTMENU, {700, 500});
    EXPECT_EQ(g_menusOpened, 2);

    // A shell before Vista takes the third version: the id comes in wParam.
    logic.reset();
    wintest::ShellCalls::newestVersion = 3;
    g_calls.clear();
    Start();
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_EQ(g_calls[2].second.uVersion, 3u);
    const std::size_t notes = logic->Notes().size();
    Notify(1, WM_LBUTTONDBLCLK);
    EXPECT_EQ(logic->Notes().size(), notes) << "the fourth version's packing is not taken";
    logic->Tray()->SendMessage(WM_TRAY_NOTIFY, 1, kKeySelect);
    EXPECT_EQ(logic->Notes().size(), notes + 1);
}

// A layout on which Ctrl+Alt+S types a character, as AltGr+S types "ś" on a Polish one.
bool TypesWithCtrlAltS(const Hotkey& key)
{
    return key == Hotkey{kModControl | kModAlt, 'S'};
}

TEST_F(Tray, ADefaultKeyTheLayoutTypesWithIsLeftUnsetAndSaidWhyButAKeyTheUserChoseIsKept)
{
    PSysTray::SetTypesFunction(&TypesWithCtrlAltS);
    g_tray->RegisterHotkeys();
    std::string why;
    const auto keys = PSysTray::UsableKeys(logic->Hotkeys(), &why);
    EXPECT_FALSE(keys[static_cast<int>(HotkeyAction::ShowOrHideAll)].IsSet());
    EXPECT_EQ(keys[static_cast<int>(HotkeyAction::NewFromClipboard)], (Hotkey{kModControl | kModAlt, 'V'}));
    EXPECT_NE(why.find("Ctrl+Alt+S"), std::string::npos) << why;
    // The key is left to the keyboard; the others are the program's.
    EXPECT_TRUE(PSysTray::CanRegister(nullptr, Hotkey{kModControl | kModAlt, 'S'}));
    EXPECT_FALSE(PSysTray::CanRegister(nullptr, Hotkey{kModControl | kModAlt, 'V'}));

    HotkeyOptions chosen = logic->Hotkeys();
    chosen.keys[static_cast<int>(HotkeyAction::FindNotes)] = Hotkey{kModControl | kModAlt, 'S'};
    chosen.keys[static_cast<int>(HotkeyAction::ShowOrHideAll)] = Hotkey{};
    EXPECT_EQ(PSysTray::UsableKeys(chosen, nullptr)[static_cast<int>(HotkeyAction::FindNotes)],
              (Hotkey{kModControl | kModAlt, 'S'}));
    PSysTray::SetTypesFunction(nullptr);
    g_tray->RegisterHotkeys();
}

TEST_F(Tray, WithoutNotesTheSubmenuHoldsOnlyNone)
{
    const auto entries = OpenMenu();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, "(\xC3\xBB\xD3\xD0)");
    EXPECT_TRUE(entries[0].grayed);
}

TEST_F(Tray, SubmenuListsNotesInOrderCheckedWhenOpen)
{
    PNote* first = logic->NewNote();
    PNote* second = logic->NewNote();
    PNote* third = logic->NewNote();
    first->SetTitle("Tom & Jerry");
    logic->ShowNote(first);
    logic->ShowNote(third);
    const auto entries = OpenMenu();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "Tom && Jerry") << "the & shows as itself";
    EXPECT_TRUE(entries[0].checked);
    EXPECT_EQ(entries[1].text, second->GetTitle());
    EXPECT_FALSE(entries[1].checked);
    EXPECT_TRUE(entries[2].checked);

    HWND tray = logic->Tray()->GetHwnd();
    ::SendMessageA(tray, WM_COMMAND, 50000, 0);
    EXPECT_TRUE(logic->IsHidden(first)) << "a checked entry hides its note";
    ::SendMessageA(tray, WM_COMMAND, 50001, 0);
    EXPECT_FALSE(logic->IsHidden(second)) << "an unchecked one shows it";
    ::SendMessageA(tray, WM_COMMAND, 50003, 0);
    EXPECT_EQ(logic->Windows().size(), 2u) << "past the last note nothing happens";
    ::SendMessageA(tray, WM_COMMAND, 32792, 0);
    EXPECT_TRUE(logic->Windows().empty());
    ::SendMessageA(tray, WM_COMMAND, 32791, 0);
    EXPECT_EQ(logic->Windows().size(), 3u);
}

// While the tray menu is open a sync program removes a note's file and the logic window
// sees it go; then an entry is chosen. The entries stand for notes, not for places.
TEST_F(Tray, AnEntryChosenAfterNotesLeftTheListShowsItsOwnNoteOrNothing)
{
    for (const char* number : {"1", "2", "3"}) {
        NoteFields fields;
        fields.title = std::string("note ") + number;
        wintest::WriteFileBytes(logic->NotesFolder() + L"\\N261207 (" + wchar_t(*number) + L").pvl",
                                EncodeNoteFile(fields, "{\\rtf1 text}"));
    }
    Start();
    g_tray = logic->Tray();
    std::vector<PNote*> listed;
    for (const auto& note : logic->Notes())
        listed.push_back(note.get());
    ASSERT_EQ(listed.size(), 3u);
    const auto removeThenChoose = [this](PNote* removed, UINT entry) {
        static std::wstring s_path;
        s_path = removed->GetFilePath();
        static std::size_t s_left;
        s_left = logic->Notes().size() - 1;
        wintest::WhenReady([this, entry] {
            if (g_tray->TrackedMenu() == nullptr)
                return false;
            ::DeleteFileW(s_path.c_str());
            if (logic->Notes().size() != s_left)
                return false;
            ::EndMenu();
            ::PostMessageW(g_tray->GetHwnd(), WM_COMMAND, PSysTray::kFirstNoteCommand + entry, 0);
            return true;
        });
        Notify(1, WM_RBUTTONDOWN);
        wintest::PumpUntil([] { return false; }, 100);
        EXPECT_EQ(logic->Notes().size(), s_left);
    };
    removeThenChoose(listed[1], 1);
    EXPECT_TRUE(logic->Windows().empty()) << "the note after it is not shown in its place";
    // The third note is second in the list now; the first goes while the menu is open.
    logic->HideAll();
    removeThenChoose(listed[0], 1);
    ASSERT_EQ(logic->Notes().front().get(), listed[2]);
    EXPECT_FALSE(logic->IsHidden(listed[2])) << "its own entry shows it";
}

// The program's message loop, for its pre-translation of keys.
class ProgramLoop : public fw::App {
public:
    bool InitInstance() override { return true; }
};

TEST_F(Tray, AboutComesToTheFrontCentredAndEscapeHidesIt)
{
    ::SendMessageA(logic->Tray()->GetHwnd(), WM_COMMAND, 32794, 0);
    HWND about = logic->About()->GetHwnd();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(::IsWindowVisible(about));
    EXPECT_NE(::GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(wintest::WindowText(::GetDlgItem(about, 1137)), fw::LoadResString(2600));
    ::SetWindowPos(about, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    logic->ShowAbout();
    RECT rc, desktop;
    ::GetWindowRect(about, &rc);
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    EXPECT_NEAR((rc.left + rc.right) / 2, (desktop.left + desktop.right) / 2, 1) << "centred anew";
    EXPECT_EQ(logic->About()->GetHwnd(), about) << "the same dialog";

    // Escape reaches the focused control, and the program's message loop hands it up
    // to the dialog before it is dispatched.
    HWND focus = ::GetNextDlgTabItem(about, nullptr, FALSE);
    ASSERT_NE(focus, nullptr);
    ::SetFocus(focus);
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    ProgramLoop loop;
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::IsWindowVisible(about) && ::GetTickCount() - start < 2000) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            continue;
        }
        if (!loop.PreTranslateMessage(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    EXPECT_FALSE(::IsWindowVisible(about));
    EXPECT_TRUE(::IsWindow(about)) << "hidden, not destroyed";
}

// Types into the change-title dialog once it is open and presses a button.
void AnswerTitle(std::string typed, int button)
{
    wintest::WhenReady([typed, button] {
        HWND dialog = wintest::ActiveDialog(1127);
        if (dialog == nullptr)
            return false;
        ::SetDlgItemTextA(dialog, 1127, typed.c_str());
        ::SendMessageA(dialog, WM_COMMAND, button, 0);
        return true;
    });
}

TEST(TitleDialog, AcceptsAnyTextAndCancelChangesNothing)
{
    PTitleDlg dialog;
    dialog.m_title = "Old";
    AnswerTitle("", IDOK);
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
    EXPECT_EQ(dialog.m_title, "") << "an empty title is accepted";

    dialog.m_title = "Kept";
    AnswerTitle("Edited", IDCANCEL);
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.m_title, "Kept");
}

// Measure and draw messages reach the tray from anywhere with their item data copied
// unchanged: data that is no record of the open menu's is never read, but measured as an
// item without one. (A read of it would fault, which the system swallows in a window
// procedure: the measure would then come back unanswered.)
TEST_F(Tray, OwnerDrawMessagesWithForeignItemDataWhileTheMenuIsOpen)
{
    static std::vector<UINT> s_heights;
    s_heights.clear();
    wintest::WhenReady([] {
        PIconMenu* menu = g_tray->TrackedMenu();
        if (menu == nullptr)
            return false;
        for (ULONG_PTR data : {ULONG_PTR{0}, ULONG_PTR{1}, ULONG_PTR{0x12345678}}) {
            MEASUREITEMSTRUCT measure = {ODT_MENU, 0, ID_TRAY_SHOW_ALL, 0, 0, data};
            ::SendMessageW(g_tray->GetHwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
            s_heights.push_back(measure.itemHeight);
            DRAWITEMSTRUCT draw = {};
            draw.CtlType = ODT_MENU;
            draw.itemID = ID_TRAY_SHOW_ALL;
            draw.itemAction = ODA_DRAWENTIRE;
            draw.hwndItem = reinterpret_cast<HWND>(::GetSubMenu(menu->GetHandle(), 0));
            draw.hDC = ::GetDC(nullptr);
            draw.rcItem = RECT{0, 0, 120, 24};
            draw.itemData = data;
            ::SendMessageW(g_tray->GetHwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
            ::ReleaseDC(nullptr, draw.hDC);
        }
        ::EndMenu();
        return true;
    });
    Notify(1, WM_RBUTTONDOWN);
    ASSERT_EQ(s_heights.size(), 3u);
    EXPECT_GT(s_heights[0], 0u);
    EXPECT_EQ(s_heights[1], s_heights[0]);
    EXPECT_EQ(s_heights[2], s_heights[0]);
}

} // namespace

// The reader's timer, let run once while a message waits behind it, as when the user
// clicks during start-up: the slice gives way after its first note. The start's own
// steps come first, from the same timers.
void ReadOneSliceWithSomethingWaiting(const PLogic& logic, HWND other)
{
    ::PostMessageW(other, WM_NULL, 0, 0);
    MSG msg;
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 5000;) {
        if (!::PeekMessageW(&msg, logic.GetHwnd(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
            ::Sleep(1);
            continue;
        }
        const bool reads = msg.wParam == 3 && logic.HasStarted();
        ::DispatchMessageW(&msg);
        if (reads)
            return;
    }
    ADD_FAILURE() << "the reader's timer never came";
}

TEST_F(Tray, NotesAreReadFromTheLoopAndOneReadLateStillRingsAndNoneUnreadIsWritten)
{
    constexpr int kNotes = 40;
    std::vector<std::wstring> paths;
    std::vector<std::string> files;
    for (int i = 1; i <= kNotes; ++i) {
        NoteFields fields;
        fields.title = "note " + std::to_string(i);
        // Every note rings at the fake clock's 09:41, without a sound.
        fields.alarms.daily[0].enabled = true;
        fields.alarms.daily[0].sound = false;
        fields.alarms.daily[0].when = DateTime::FromFields(2026, 12, 7, 9, 41, 0);
        files.push_back(EncodeNoteFile(fields, "{\\rtf1 text}"));
        paths.push_back(logic->NotesFolder() + L"\\N" + std::to_wstring(i) + L".pvl");
        wintest::WriteFileBytes(paths.back(), files.back());
    }
    StartBeforeReading();
    g_tray = logic->Tray();
    EXPECT_TRUE(logic->Notes().empty()) << "nothing is read before the loop runs";
    logic->ShowFindNotes();
    HWND more = ::GetDlgItem(logic->FindNotes()->GetHwnd(), IDC_FIND_NOTES_MORE);
    EXPECT_NE(wintest::WindowText(more), "") << "find says that more is coming";
    const auto entries = OpenMenu();
    ASSERT_EQ(entries.size(), 1u) << "the list is not empty, only not read yet";
    EXPECT_EQ(entries[0].text, "\xD5\xFD\xD4\xDA\xD4\xD8\xC8\xEB\xB1\xCA\xBC\xC7 (0/40)\xA1\xAD");
    EXPECT_TRUE(entries[0].grayed);
    ASSERT_TRUE(wintest::PumpUntil([this] { return !logic->Reader().IsReading(); }, 10000));
    EXPECT_EQ(wintest::WindowText(more), "");

    StartBeforeReading();
    ReadOneSliceWithSomethingWaiting(*logic, logic->Tray()->GetHwnd());
    ASSERT_EQ(logic->Notes().size(), 1u) << "a slice gives way to what waits";
    ++wintest::FakeClock::minute;
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(logic->Windows().size(), 1u) << "the note read rings with its minute";
    ReadOneSliceWithSomethingWaiting(*logic, logic->Tray()->GetHwnd());
    ASSERT_EQ(logic->Notes().size(), 2u);
    EXPECT_EQ(logic->Windows().size(), 2u) << "one read after its minute's check rings when read";

    PNote* changed = logic->Notes().front().get();
    changed->SetTitle("changed");
    const std::wstring changedPath = changed->GetFilePath();
    ::PostMessageW(logic->GetHwnd(), WM_LOGIC_EXIT, 0, 0);
    HWND window = logic->GetHwnd();
    ASSERT_TRUE(wintest::PumpUntil([window] { return !::IsWindow(window); }, 10000));
    for (int i = 0; i < kNotes; ++i) {
        const std::string bytes = wintest::ReadFileBytes(paths[i]);
        if (paths[i] == changedPath)
            EXPECT_NE(bytes.find("changed"), std::string::npos) << "what changed is saved at exit";
        else
            EXPECT_EQ(bytes, files[i]) << "note " << i + 1 << " was written";
    }
    EXPECT_EQ(logic->Notes().size(), 2u) << "nothing is read once the program ends";
}
