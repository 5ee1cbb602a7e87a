// Find any note over many hidden notes: what the user waits for, from a changed search
// text to the painted list; and the show-or-hide-all hotkey over many open notes. Prints
// figures; it is not a test.
#include "BenchClock.h"
#include "BenchFind.h"

#include "core/NoteFile.h"
#include "dialogs/PFindNotesDlg.h"
#include "framework/File.h"
#include "framework/Strings.h"
#include "res/resource.h"
#include "logic/PLogic.h"
#include "note/PinvelWnd.h"
#include "tray/PSysTray.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

std::wstring TempFolder(int n)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"pinvel-find-" + std::to_wstring(n) + L"-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring NotePath(const std::wstring& notesFolder, int i)
{
    return notesFolder + L"\\N021215 (" + std::to_wstring(i) + L").pvl";
}

void RemoveNotes(const std::wstring& notesFolder, int count)
{
    for (int i = 1; i <= count; ++i)
        ::DeleteFileW(NotePath(notesFolder, i).c_str());
    ::RemoveDirectoryW(notesFolder.c_str());
}

// Find any note over N hidden notes: the first search reads every note's file, the ones
// after it look through the plain texts the notes keep. Each figure is what the user
// waits for: from the changed search text to the painted list.
// About 4 KB of RTF as the editor writes a Chinese note: the characters as \'hh pairs.
std::string FindSampleRtf(int n)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                      "\\uc1\\pard\\lang2052\\f0\\fs20 ";
    while (rtf.size() < 4096 - 80)
        rtf += "{\\b note " + std::to_string(n) + "} \\'d6\\'d0\\'ce\\'c4\\'b1\\'ca\\'bc\\'c7 some words of "
               "ordinary text\\par\r\n";
    return rtf + "}";
}

// A logic window over count notes of 4 KB, loaded hidden.
std::unique_ptr<PLogic> LogicWithNotes(int count, std::wstring& folder, std::vector<std::wstring>& paths)
{
    folder = TempFolder(count);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    // As once the program's loop runs: the notes folder is made then.
    logic->FinishStart();
    const std::wstring notes = logic->NotesFolder();
    for (int i = 1; i <= count; ++i) {
        NoteFields fields;
        fields.title = "note " + std::to_string(i);
        paths.push_back(NotePath(notes, i));
        fw::ReplaceFileContents(paths.back(), EncodeNoteFile(fields, FindSampleRtf(i)));
    }
    logic->LoadAllNotes();
    return logic;
}

void RemoveAll(std::unique_ptr<PLogic>& logic, const std::wstring& folder, int count)
{
    const std::wstring notes = logic->NotesFolder();
    logic.reset();
    RemoveNotes(notes, count);
    ::DeleteFileW((notes + L"\\" + fw::LoadResStringW(IDS_OPTIONS_FILE)).c_str());
    ::DeleteFileW((folder + L"Pinvel.ini").c_str());
    ::RemoveDirectoryW(notes.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// Where a note's text is in its window: the frame is painted around it and the buttons.
RECT g_bareText = {};

// The frame a note shows, painted once as its window is shown: a border, the edge, the
// title and the info line, each in its own size. A window bare of it would not be the
// same window: the screen would show whatever was under it.
void PaintBareFrame(HWND hwnd)
{
    static const HBRUSH border = ::CreateSolidBrush(RGB(0, 128, 128));
    static const HBRUSH edge = ::CreateSolidBrush(RGB(255, 255, 192));
    // The title's and the info line's sizes, as a note's.
    static const HFONT titleFont = ::CreateFontW(21, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                                                 L"MS Sans Serif");
    static const HFONT infoFont = ::CreateFontW(18, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                                                L"MS Sans Serif");
    HDC dc = ::GetWindowDC(hwnd);
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    const RECT buttons = {client.right - 133, 3, client.right - 13, 23};
    ::ExcludeClipRect(dc, g_bareText.left, g_bareText.top, g_bareText.right, g_bareText.bottom);
    ::ExcludeClipRect(dc, buttons.left, buttons.top, buttons.right, buttons.bottom);
    ::FillRect(dc, &client, border);
    RECT inside = {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    ::FillRect(dc, &inside, edge);
    HGDIOBJ old = ::SelectObject(dc, titleFont);
    ::SetBkMode(dc, TRANSPARENT);
    RECT title = {8, 3, buttons.left, g_bareText.top};
    ::DrawTextW(dc, L"note", -1, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, infoFont);
    RECT info = {8, g_bareText.bottom, client.right - 20, client.bottom - 2};
    ::DrawTextW(dc, L"\x661F\x671F\x4E09, 2026/12/9 15:00:00", -1, &info,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd, dc);
}

// The same windows as a shown note's, made and shown by a program that does nothing else:
// a popup with its frame, six owner-drawn buttons and a rich-edit control already holding
// its text, the buttons filled with one colour. What showing them all costs here is the
// floor that no program with these windows goes below. Owned by a hidden window, as the
// notes are: under Wine's desktop a window of no owner keeps the taskbar busy with every
// one made.
LRESULT CALLBACK BareNoteProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        ::FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
        return TRUE;
    }
    if (msg == WM_NCPAINT) {
        PaintBareFrame(hwnd);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Milliseconds on the clock, and of this process's own processor time: under Wine the
// clock also runs while the window server and the X server answer.
struct Timed {
    double wall;
    double cpu;
};

// Where the shown notes' windows are, and where a note's text is in its window. The bare
// windows go where the notes went: windows stacked on one another paint and clip unlike
// windows side by side.
struct NoteShape {
    std::vector<RECT> windows;
    RECT text;
};

template <typename Windows>
NoteShape ShapeOf(const Windows& notes)
{
    NoteShape shape;
    for (const auto& note : notes) {
        RECT window = {};
        ::GetWindowRect(note->GetHwnd(), &window);
        shape.windows.push_back(window);
    }
    HWND first = notes.front()->GetHwnd();
    HWND edit = ::FindWindowExW(first, nullptr, L"RichEdit20W", nullptr);
    ::GetWindowRect(edit, &shape.text);
    ::MapWindowPoints(nullptr, first, reinterpret_cast<POINT*>(&shape.text), 2);
    return shape;
}

Timed BareShowAll(const NoteShape& shape, int count)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareNoteProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"PinvelBenchBareNote";
    ::RegisterClassW(&wc);
    const RECT& text = shape.text;
    g_bareText = text;
    std::vector<HWND> texts;
    HWND keeper = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < count; ++i) {
        texts.push_back(::CreateWindowExW(0, L"RichEdit20W", nullptr, WS_CHILD | WS_VSCROLL | ES_MULTILINE, text.left,
                                          text.top, text.right - text.left, text.bottom - text.top, keeper, nullptr,
                                          nullptr, nullptr));
        const std::string rtf = FindSampleRtf(i + 1);
        SETTEXTEX how = {ST_DEFAULT, CP_ACP};
        ::SendMessageW(texts.back(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(rtf.c_str()));
    }
    // Twice, timing the second: the texts were then shown before, as a note's are when it
    // is shown again.
    Timed timed = {};
    for (int round = 0; round < 2; ++round) {
        ::GlobalFindAtomW(round ? L"MARK-bare-start" : L"MARK-bare0-start");
        const double start = Now();
        const double cpuStart = CpuSeconds();
        std::vector<HWND> notes;
        for (int i = 0; i < count; ++i) {
            const RECT& window = shape.windows[static_cast<std::size_t>(i) % shape.windows.size()];
            const int width = window.right - window.left;
            HWND note = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, nullptr,
                                          WS_POPUP | WS_CLIPCHILDREN, window.left, window.top, width,
                                          window.bottom - window.top, keeper, nullptr, wc.hInstance, nullptr);
            for (int b = 0; b < 6; ++b)
                ::CreateWindowExW(WS_EX_TRANSPARENT, L"BUTTON", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_OWNERDRAW,
                                  width - 133 + 20 * b, 3, 20, 20, note, nullptr, wc.hInstance, nullptr);
            ::SetParent(texts[i], note);
            ::ShowWindow(texts[i], SW_SHOWNA);
            notes.push_back(note);
        }
        HDWP batch = ::BeginDeferWindowPos(count);
        for (HWND note : notes)
            batch = ::DeferWindowPos(batch, note, nullptr, 0, 0, 0, 0,
                                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::EndDeferWindowPos(batch);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
            ::DispatchMessageW(&msg);
        timed = {(Now() - start) * 1e3, (CpuSeconds() - cpuStart) * 1e3};
        ::GlobalFindAtomW(L"MARK-bare-end");
        for (int i = 0; i < count; ++i) {
            ::ShowWindow(texts[i], SW_HIDE);
            ::SetParent(texts[i], keeper);
            ::DestroyWindow(notes[i]);
        }
    }
    ::DestroyWindow(keeper);
    return timed;
}

} // namespace

// Rounds of showing all against the same windows bare.
constexpr int kShowRounds = 9;

void RunShowHideAll(int count)
{
    std::wstring folder;
    std::vector<std::wstring> paths;
    auto logic = LogicWithNotes(count, folder, paths);
    // The key as the system hands it to the tray window: Ctrl+Alt+S, the second hotkey;
    // timed until the screen shows the result, the paints it left waiting included.
    const auto press = [&] {
        const double start = Now();
        const double cpuStart = CpuSeconds();
        ::SendMessageW(logic->Tray()->GetHwnd(), WM_HOTKEY, 2, 0);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
            ::DispatchMessageW(&msg);
        return Timed{(Now() - start) * 1e3, (CpuSeconds() - cpuStart) * 1e3};
    };
    // Between the presses the loop runs, as it would for a user: the hidden windows are
    // destroyed meanwhile, a few at a time.
    const auto settle = [] {
        const double end = Now() + 3;
        MSG msg;
        while (Now() < end) {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                ::DispatchMessageW(&msg);
            ::Sleep(10);
        }
    };
    const Timed firstShow = press();
    settle();
    const Timed hide = press();
    settle();
    // Showing all with the texts loaded, and the same windows bare, in turns: a busy
    // moment of the machine weighs on both alike.
    std::vector<double> showWall, showCpu, bareWall, bareCpu, wallRatios, cpuRatios;
    std::size_t shown = 0;
    for (int round = 0; round < kShowRounds; ++round) {
        ::GlobalFindAtomW(L"MARK-show-start");
        const Timed show = press();
        ::GlobalFindAtomW(L"MARK-show-end");
        shown = logic->Windows().size();
        const NoteShape shape = ShapeOf(logic->Windows());
        settle();
        press();
        settle();
        // With nothing else on the screen, as the notes were shown.
        const Timed bare = BareShowAll(shape, count);
        showWall.push_back(show.wall);
        showCpu.push_back(show.cpu);
        bareWall.push_back(bare.wall);
        bareCpu.push_back(bare.cpu);
        wallRatios.push_back(show.wall / bare.wall);
        cpuRatios.push_back(bare.cpu > 0 ? show.cpu / bare.cpu : 0);
    }
    press();
    settle();
    const Timed hideAgain = press();
    const Timed showAtOnce = press();
    press();
    settle();
    std::printf("Show or hide all by hotkey, N = %d notes of 4 KB (clock, and this process's own processor time)\n",
                count);
    std::printf("  show all, texts read    %9.1f ms  own %6.1f ms\n", firstShow.wall, firstShow.cpu);
    std::printf("  hide all                %9.1f ms  own %6.1f ms  (again %.1f ms, own %.1f ms)\n", hide.wall, hide.cpu,
                hideAgain.wall, hideAgain.cpu);
    std::printf("  show all, texts loaded  %9.1f ms  own %6.1f ms  (%zu shown; median of %d rounds)\n",
                Median(showWall), Median(showCpu), shown, kShowRounds);
    std::printf("  the same windows, bare  %9.1f ms  own %6.1f ms  (shown by a program that does nothing else)\n",
                Median(bareWall), Median(bareCpu));
    std::printf("  show all against bare   %9.2f x     own %6.2f x  (median of the rounds' own ratios)\n",
                Median(wallRatios), Median(cpuRatios));
    // A busy moment of the machine only ever adds: the fastest round of each is the one
    // it weighed on least.
    const auto fastest = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    std::printf("  fastest against fastest %9.2f x     own %6.2f x  (show all %.1f ms, own %.1f; bare %.1f ms, own %.1f)\n",
                fastest(showWall) / fastest(bareWall), fastest(bareCpu) > 0 ? fastest(showCpu) / fastest(bareCpu) : 0,
                fastest(showWall), fastest(showCpu), fastest(bareWall), fastest(bareCpu));
    std::printf("  hide and show at once   %9.1f ms  own %6.1f ms  (the hidden windows taken back)\n", showAtOnce.wall,
                showAtOnce.cpu);
    RemoveAll(logic, folder, count);
}

void RunFindNotes(int count)
{
    std::wstring folder;
    std::vector<std::wstring> paths;
    auto logic = LogicWithNotes(count, folder, paths);
    std::string bytes;
    for (const auto& path : paths)
        fw::ReadWholeFile(path, bytes);

    logic->ShowFindNotes();
    HWND dialog = logic->FindNotes()->GetHwnd();
    HWND edit = ::GetDlgItem(dialog, IDC_FIND_NOTES_TEXT);
    HWND list = ::GetDlgItem(dialog, IDC_FIND_NOTES_LIST);
    auto search = [&](const wchar_t* text, LRESULT& rows) {
        const double start = Now();
        ::SetWindowTextW(edit, text);
        ::UpdateWindow(list);
        const double seconds = Now() - start;
        rows = ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        return seconds;
    };
    // The text of one note only: every other text is looked through to its end.
    const std::wstring rare = L"NOTE " + std::to_wstring(count / 2 + 1);
    LRESULT firstRows = 0, againRows = 0, someRows = 0, everyRows = 0;
    const double first = search(rare.c_str(), firstRows);
    search(L"", againRows);
    const double again = search(rare.c_str(), againRows);
    const double some = search(L"note 7", someRows);
    const double every = search(L"Ordinary", everyRows);

    std::printf("Find any note, N = %d hidden notes of 4 KB\n", count);
    std::printf("  first search              %9.1f ms  (%ld rows)\n", first * 1e3, static_cast<long>(firstRows));
    std::printf("  the same search again     %9.1f ms  (%ld rows)\n", again * 1e3, static_cast<long>(againRows));
    std::printf("  another search            %9.1f ms  (%ld rows)\n", some * 1e3, static_cast<long>(someRows));
    std::printf("  one every note matches    %9.1f ms  (%ld rows)\n", every * 1e3, static_cast<long>(everyRows));

    RemoveAll(logic, folder, count);
}
