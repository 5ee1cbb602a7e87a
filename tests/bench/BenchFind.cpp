// Find any note over many hidden notes: what the user waits for, from a changed search
// text to the painted list; and the show-or-hide-all hotkey over many open notes. Prints
// figures; it is not a test.
#include "BenchFind.h"

#include "core/NoteFile.h"
#include "dialogs/PFindNotesDlg.h"
#include "framework/File.h"
#include "framework/Strings.h"
#include "res/resource.h"
#include "store/PLogic.h"
#include "tray/PSysTray.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

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

} // namespace

void RunShowHideAll(int count)
{
    std::wstring folder;
    std::vector<std::wstring> paths;
    auto logic = LogicWithNotes(count, folder, paths);
    // The key as the system hands it to the tray window: Ctrl+Alt+S, the second hotkey.
    const auto press = [&] {
        const double start = Now();
        ::SendMessageW(logic->Tray()->GetHwnd(), WM_HOTKEY, 2, 0);
        return Now() - start;
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
    const double firstShow = press();
    settle();
    const double hide = press();
    settle();
    const double show = press();
    const std::size_t shown = logic->Windows().size();
    settle();
    const double hideAgain = press();
    const double showAtOnce = press();
    std::printf("Show or hide all by hotkey, N = %d notes of 4 KB\n", count);
    std::printf("  show all, texts read    %9.1f ms\n", firstShow * 1e3);
    std::printf("  hide all                %9.1f ms  (again %.1f ms)\n", hide * 1e3, hideAgain * 1e3);
    std::printf("  show all, texts loaded  %9.1f ms  (%zu shown)\n", show * 1e3, shown);
    std::printf("  hide and show at once   %9.1f ms  (the hidden windows taken back)\n", showAtOnce * 1e3);
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
