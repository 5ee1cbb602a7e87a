// What many notes cost: the note store's start-up and saving inside this process, and the
// whole program's start, memory and exit from outside it, each beside a floor. Prints
// figures; it is not a test.
#include "BenchClock.h"
#include "BenchFind.h"
#include "BenchProgram.h"
#include "BenchStart.h"
#include "framework/PError.h"
#include "core/NoteFile.h"
#include "framework/File.h"
#include "framework/Strings.h"
#include "res/resource.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "tray/PSysTray.h"
#include "../common/ProcessMemory.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

PError g_error;
PLogic g_logic;

namespace {

// Notes whose texts are loaded for the saving figure: each is shown and hidden once,
// which takes tens of milliseconds a note.
constexpr int kMaxLoadedTexts = 100;
// Starts of the whole program per note count; the fastest and the median are printed.
constexpr int kProgramRounds = 9;
// How long the whole program may take to come up, to show its notes or to end.
constexpr double kProgramPatience = 300;

double Fastest(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

} // namespace

// About 4 KB of RTF, as a note of a page of formatted text would hold.
std::string SampleRtf(int n)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil Times New Roman;}}\\f0\\fs24 ";
    while (rtf.size() < 4096 - 40)
        rtf += "{\\b note " + std::to_string(n) + "} some words of ordinary text \\par\r\n";
    return rtf + "}";
}

std::string SampleFile(int n)
{
    NoteFields fields;
    fields.title = "note " + std::to_string(n);
    fields.userName = "bench";
    return EncodeNoteFile(fields, SampleRtf(n));
}

std::wstring TempFolder(const std::wstring& kind, int n)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    // Process ids repeat from one Wine session to the next: the tick count keeps the
    // folder of an interrupted run out of this one.
    std::wstring folder = std::wstring(temp) + L"pinvel-bench-" + kind + std::to_wstring(n) + L"-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring NotesFolderOf(const std::wstring& programFolder)
{
    return programFolder + fw::LoadResStringW(IDS_NOTES_FOLDER);
}

std::wstring NotePath(const std::wstring& notesFolder, int i)
{
    return notesFolder + L"\\N021215 (" + std::to_wstring(i) + L").pvl";
}

// Writes notes 1..count and reads them all once, so that every figure reads from memory.
std::vector<std::wstring> WriteNotes(const std::wstring& notesFolder, int count)
{
    ::CreateDirectoryW(notesFolder.c_str(), nullptr);
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
        paths.push_back(NotePath(notesFolder, i));
        fw::ReplaceFileContents(paths.back(), SampleFile(i));
    }
    std::string bytes;
    for (const auto& path : paths)
        fw::ReadWholeFile(path, bytes);
    return paths;
}

// The folder and all in it: the notes, and what the program keeps beside them (earlier
// versions of saved notes, the side file).
void RemoveProgramFolder(const std::wstring& path)
{
    const std::wstring folder = !path.empty() && path.back() == L'\\' ? path.substr(0, path.size() - 1) : path;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveProgramFolder(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

std::wstring BenchFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

namespace {

// The least a start must do per note: read its file and decode what it holds besides
// the text, and check that the text is there.
void ReadHeaders(const std::vector<std::wstring>& paths)
{
    std::string bytes;
    for (const auto& path : paths) {
        NoteFields fields;
        std::size_t textOffset = 0;
        std::string_view rtf;
        fw::ReadWholeFile(path, bytes);
        if (DecodeNoteFields(bytes, fields, textOffset))
            DecodeNoteText(bytes, textOffset, rtf);
    }
}

// Runs the message loop, as the program's own does, until the window has finished its
// start and read every note.
void ReadFromLoop(const PLogic& logic)
{
    MSG msg;
    while ((!logic.HasStarted() || logic.Reader().IsReading()) && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A window that holds fewer notes than were written makes every figure after it
// meaningless, so the run stops there and says so.
bool HoldsAll(const PLogic& logic, int count, const char* how, int round)
{
    if (static_cast<int>(logic.Notes().size()) == count)
        return true;
    std::printf("N = %d: FAILED: after %s, round %d, the logic window holds %zu of the %d notes written\n", count,
                how, round + 1, logic.Notes().size(), count);
    std::fflush(stdout);
    return false;
}

int UnsavedCount(const PLogic& logic)
{
    return static_cast<int>(std::count_if(logic.Notes().begin(), logic.Notes().end(),
                                          [](const auto& note) { return note->HasUnsavedChanges(); }));
}

// False when a round ended with fewer notes than were written, or saving wrote nothing.
bool Run(int count)
{
    const std::wstring folder = TempFolder(L"store-", count);
    const std::wstring notes = NotesFolderOf(folder);
    const std::vector<std::wstring> paths = WriteNotes(notes, count);

    // A few rounds, each with fresh logic windows. Other work on the machine only ever
    // adds time, so the fastest round of each is compared; the medians show the spread.
    const int rounds = count <= 200 ? 9 : 5;
    std::vector<double> loads, floors, listings, loopReads;
    double memoryPerNote = 0;
    bool complete = true;
    std::unique_ptr<PLogic> logic;
    PLogic::SetProgramFolder(folder);
    for (int round = 0; round < rounds && complete; ++round) {
        // The window only lists the files while it is made; LoadAllNotes, called before
        // its loop turns, reads them all in one go. Round 0 goes first with a heap that
        // has held no note, for the memory figure. The folder stays where it is: once a
        // window has read it, the window watches it, and a watched folder that is removed
        // is only marked for removal, so nothing can be moved in under its name.
        logic.reset();
        logic = std::make_unique<PLogic>();
        logic->Create();

        // The floor is read just before and just after, so that neither gains from going
        // second or from a quiet moment of the machine.
        double start = Now();
        ReadHeaders(paths);
        floors.push_back(Now() - start);

        const double memoryBefore = testutil::PrivateBytes();
        start = Now();
        logic->LoadAllNotes();
        loads.push_back(Now() - start);
        if (round == 0)
            memoryPerNote = (testutil::PrivateBytes() - memoryBefore) / count;

        start = Now();
        ReadHeaders(paths);
        floors.push_back(Now() - start);
        complete = HoldsAll(*logic, count, "LoadAllNotes", round);

        // As the program starts: the window lists the files, then its loop reads them.
        logic.reset();
        start = Now();
        logic = std::make_unique<PLogic>();
        logic->Create();
        listings.push_back(Now() - start);
        ReadFromLoop(*logic);
        loopReads.push_back(Now() - start);
        complete = complete && HoldsAll(*logic, count, "reading from the loop", round);
    }
    if (!complete) {
        logic.reset();
        PLogic::SetProgramFolder(std::wstring());
        RemoveProgramFolder(folder);
        return false;
    }
    const double load = Fastest(loads);
    const double floor = Fastest(floors);

    // Saving: up to 100 notes loaded the way the program loads a text, by showing the
    // note (its window sizes the editor first); then SaveAllNotes against streaming the
    // same texts out and writing the same bytes.
    int loaded = 0;
    double start = Now();
    for (auto& note : logic->Notes()) {
        if (loaded == kMaxLoadedTexts)
            break;
        logic->ShowNote(note.get());
        logic->HideNote(note.get());
        ++loaded;
    }
    const double showHide = Now() - start;
    // SaveAllNotes writes only what changed: each loaded text is marked as typing marks it.
    for (auto& note : logic->Notes()) {
        if (note->IsTextLoaded())
            note->Editor()->SendMessage(EM_SETMODIFY, TRUE);
    }
    const int changed = UnsavedCount(*logic);
    start = Now();
    logic->SaveAllNotes();
    const double save = Now() - start;
    const int unsaved = UnsavedCount(*logic);
    if (changed != loaded || unsaved != 0) {
        std::printf("N = %d: FAILED: of %d loaded texts %d were changed before SaveAllNotes and %d after it\n", count,
                    loaded, changed, unsaved);
        complete = false;
    }
    start = Now();
    for (auto& note : logic->Notes()) {
        if (!note->IsTextLoaded())
            continue;
        std::string rtf;
        note->Editor()->StreamOutText(rtf, true);
        NoteFields fields;
        fields.title = note->GetTitle();
        fw::ReplaceFileContents(note->GetFilePath(), EncodeNoteFile(fields, rtf));
    }
    const double saveFloor = Now() - start;

    std::printf("N = %d notes (%zu loaded), fastest of %d rounds (median)\n", count, logic->Notes().size(), rounds);
    std::printf("  start-up: LoadAllNotes %9.1f ms  %7.3f ms/note  (median %.1f ms)\n", load * 1e3,
                load * 1e3 / count, Median(loads) * 1e3);
    std::printf("    floor: read and decode the headers %9.1f ms  (median %.1f ms)\n", floor * 1e3,
                Median(floors) * 1e3);
    std::printf("    ratio to the floor   %9.2f  (medians %.2f)\n", load / floor, Median(loads) / Median(floors));
    std::printf("  private memory         %9.1f KB per hidden note\n", memoryPerNote / 1024);
    std::printf("  show and hide, text loaded %7.1f ms per note (%d notes)\n", showHide * 1e3 / loaded, loaded);
    std::printf("  SaveAllNotes (%4d texts) %7.1f ms  floor %.1f ms, ratio %.2f\n", loaded, save * 1e3,
                saveFloor * 1e3, save / saveFloor);
    std::printf("  read from the loop: files listed %7.1f ms, every note read after %.1f ms  (medians %.1f, %.1f ms)\n",
                Fastest(listings) * 1e3, Fastest(loopReads) * 1e3, Median(listings) * 1e3, Median(loopReads) * 1e3);

    logic.reset();
    PLogic::SetProgramFolder(std::wstring());
    RemoveProgramFolder(folder);
    return complete;
}

void Pump(double seconds)
{
    const double end = Now() + seconds;
    while (Now() < end) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // Waits as the program's own loop does, for a message or the end.
        const double left = end - Now();
        if (left > 0)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left * 1e3) + 1, QS_ALLINPUT);
    }
}

// A big note's first showing, the memory of open notes and the idle cost of clocks.
void RunOpenNotes(double cpuSeconds)
{
    const std::wstring folder = TempFolder(L"open-", 0);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    // As once the program's loop runs: the notes folder is made then.
    logic->FinishStart();
    const std::wstring notes = logic->NotesFolder();
    std::string big = "{\\rtf1\\ansi ";
    while (big.size() < 100 * 1024)
        big += "{\\b a longer note} with lines of ordinary text \\par\r\n";
    big += "}";
    NoteFields fields;
    fields.title = "big";
    fw::ReplaceFileContents(NotePath(notes, 1), EncodeNoteFile(fields, big));
    PNote* bigNote = logic->LoadNote(NotePath(notes, 1));
    // Shown when the window and what it shows first are painted; whole when the text that
    // comes from the loop is in too.
    double start = Now();
    logic->ShowNote(bigNote);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
        ::DispatchMessageW(&msg);
    const double firstShow = Now() - start;
    while (bigNote->IsTextComing() && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    const double wholeText = Now() - start;
    logic->HideAll();

    std::vector<PNote*> open;
    for (int i = 0; i < 20; ++i)
        open.push_back(logic->NewNote());
    const double memoryBefore = testutil::PrivateBytes();
    for (PNote* note : open)
        logic->ShowNote(note);
    Pump(1.0);
    const double memoryPerOpen = (testutil::PrivateBytes() - memoryBefore) / open.size();

    const double cpuBefore = CpuSeconds();
    start = Now();
    Pump(cpuSeconds);
    const double cpu = (CpuSeconds() - cpuBefore) / (Now() - start);

    std::printf("Open notes\n");
    std::printf("  first show of a 100 KB note %7.1f ms  (its whole text in after %.1f ms)\n", firstShow * 1e3,
                wholeText * 1e3);
    std::printf("  private memory      %9.1f KB per open note (its editor and window, beyond its record)\n",
                memoryPerOpen / 1024);
    std::printf("  CPU, 20 clocks      %9.2f %% of one core over %.0f s\n", cpu * 100, cpuSeconds);

    logic.reset();
    PLogic::SetProgramFolder(std::wstring());
    RemoveProgramFolder(folder);
}

std::wstring ProgramPath()
{
    return BenchFolder() + L"..\\Pinvel.exe";
}

void PrintProgramSize()
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExW(ProgramPath().c_str(), GetFileExInfoStandard, &data))
        std::printf("Pinvel.exe          %9.1f KB\n", data.nFileSizeLow / 1024.0);
}

// ---- The whole program, driven from outside ----

struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (pid == search->pid && std::wcscmp(cls, search->cls) == 0 && (!search->visibleOnly || ::IsWindowVisible(hwnd)))
        search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* cls, bool visibleOnly)
{
    WindowSearch search = {pid, cls, visibleOnly, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program is ready when its logic window answers from its message loop and the tray
// window is made. Waiting for input idle first keeps out an answer given while the
// window is still being made (inside a call to the shell), before the notes are loaded.
HWND WaitReady(const Process& program, double deadline)
{
    while (Now() < deadline) {
        if (program.Wait(0) != STILL_ACTIVE)
            return nullptr;
        ::WaitForInputIdle(program.info.hProcess, static_cast<DWORD>((deadline - Now()) * 1000));
        const std::vector<HWND> logic = TopLevelWindows(program.info.dwProcessId, L"PCN_LOGIC", false);
        if (!logic.empty() && ::FindWindowExW(logic[0], nullptr, L"PCN_SYSTRAY", nullptr) != nullptr) {
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(logic[0], WM_NULL, 0, 0, SMTO_NORMAL,
                                      static_cast<UINT>((deadline - Now()) * 1000), &result))
                return logic[0];
        }
        ::Sleep(1);
    }
    return nullptr;
}

// Which note an editor of the program holds: its text starts "note N".
int NoteNumberOf(HWND noteWindow)
{
    HWND editor = ::FindWindowExW(noteWindow, nullptr, L"RichEdit20W", nullptr);
    wchar_t text[64] = {};
    DWORD_PTR copied = 0;
    if (editor == nullptr ||
        !::SendMessageTimeoutW(editor, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &copied))
        return 0;
    const wchar_t* number = std::wcsstr(text, L"note ");
    return number != nullptr ? static_cast<int>(std::wcstol(number + 5, nullptr, 10)) : 0;
}

struct ProgramFigures {
    int count = 0;
    int shown = 0;
    bool ready = false;
    std::vector<double> readySeconds;
    std::vector<double> privateBytes;
    std::vector<double> residentBytes;
    std::vector<double> exitSeconds;
    bool exitedNormally = true;
    int neverShown = 0;
    int identical = 0;
};

// One start of the program in its folder: ready, memory, `shown` notes opened from the
// tray's note entries, then -exit. Adds the numbers of the notes it showed to shownNotes.
bool StartAndExit(const std::wstring& folder, int count, int shown, ProgramFigures& figures,
                  std::set<int>& shownNotes)
{
    const std::wstring exe = folder + L"Pinvel.exe";
    Process program;
    const double start = Now();
    if (!program.Start(exe, L"", folder))
        return false;
    HWND logic = WaitReady(program, start + kProgramPatience);
    if (logic == nullptr) {
        std::printf("  N = %d: the program did not come up within %.0f s (exit code %lu)\n", count,
                    Now() - start, program.Wait(0));
        return false;
    }
    figures.readySeconds.push_back(Now() - start);
    // Its memory once it has settled: committed private memory counted region by region,
    // and the working set, which Wine takes from the host process's resident size.
    ::Sleep(1000);
    figures.privateBytes.push_back(testutil::PrivateBytes(program.info.hProcess));
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(program.info.hProcess, &counters, sizeof(counters));
    figures.residentBytes.push_back(static_cast<double>(counters.WorkingSetSize));

    // Notes spread over the list, shown as the tray menu's note entries show them.
    HWND tray = ::FindWindowExW(logic, nullptr, L"PCN_SYSTRAY", nullptr);
    const int step = shown > 0 ? std::max(1, count / shown) : 1;
    for (int i = 0; i < shown; ++i)
        ::PostMessageW(tray, WM_COMMAND, MAKEWPARAM(PSysTray::kFirstNoteCommand + i * step, 0), 0);
    std::vector<HWND> open;
    const double showDeadline = Now() + kProgramPatience;
    while (shown > 0 && Now() < showDeadline) {
        open = TopLevelWindows(program.info.dwProcessId, L"PCN_NOTE", true);
        if (static_cast<int>(open.size()) >= shown)
            break;
        ::Sleep(20);
    }
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(logic, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
    for (HWND window : open)
        shownNotes.insert(NoteNumberOf(window));
    figures.shown = static_cast<int>(open.size());

    Process exit;
    const double exitStart = Now();
    exit.Start(exe, L"-exit", folder);
    const DWORD code = program.Wait(kProgramPatience);
    figures.exitSeconds.push_back(Now() - exitStart);
    figures.exitedNormally = figures.exitedNormally && code == 0 && exit.Wait(kProgramPatience) == 0;
    return code != STILL_ACTIVE;
}

constexpr wchar_t kFloorExe[] = L"pinvel_bare_tray.exe";

// One start of the floor, found ready as the program is, then closed. It must have ended
// before Pinvel starts: Pinvel would take its logic window for a copy of itself running.
bool StartFloor(const std::wstring& folder, std::vector<double>& readySeconds)
{
    Process floor;
    const double start = Now();
    if (!floor.Start(folder + kFloorExe, L"", folder))
        return false;
    HWND logic = WaitReady(floor, start + kProgramPatience);
    if (logic == nullptr)
        return false;
    readySeconds.push_back(Now() - start);
    ::PostMessageW(logic, WM_CLOSE, 0, 0);
    return floor.Wait(kProgramPatience) == 0;
}

// Pinvel.exe in folders of its own, one per note count, each started and ended with
// -exit a few times. The rounds go through every folder in turn, so that a busy moment
// of the machine weighs on all counts alike and a round's figures compare with each
// other; each round also starts the floor, the bare tray program, in a folder of its own.
// Then every note file the program never showed is compared with what was written.
std::vector<ProgramFigures> RunPrograms(const std::vector<std::pair<int, int>>& runs, std::vector<double>& floorReady)
{
    std::vector<ProgramFigures> figures(runs.size());
    std::vector<std::wstring> folders;
    std::vector<std::set<int>> shownNotes(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        figures[i].count = runs[i].first;
        folders.push_back(TempFolder(L"program-", runs[i].first));
        if (!::CopyFileW(ProgramPath().c_str(), (folders[i] + L"Pinvel.exe").c_str(), FALSE)) {
            std::printf("cannot copy %ls\n", ProgramPath().c_str());
            return {};
        }
        WriteNotes(NotesFolderOf(folders[i]), runs[i].first);
        figures[i].ready = true;
    }
    if (runs.empty())
        return figures;
    const std::wstring floorFolder = TempFolder(L"floor-", 0);
    bool floorRuns = ::CopyFileW((BenchFolder() + kFloorExe).c_str(), (floorFolder + kFloorExe).c_str(), FALSE) != 0;
    if (!floorRuns)
        std::printf("cannot copy %ls: no floor\n", (BenchFolder() + kFloorExe).c_str());
    // The order turns from round to round: a start right after the one before it ended
    // finds the window server busier, and no program may always take that place.
    const std::size_t slots = runs.size() + 1;
    for (int round = 0; round < kProgramRounds; ++round) {
        for (std::size_t turn = 0; turn < slots; ++turn) {
            const std::size_t slot = (turn + static_cast<std::size_t>(round)) % slots;
            if (slot == runs.size()) {
                floorRuns = floorRuns && StartFloor(floorFolder, floorReady);
                continue;
            }
            if (figures[slot].ready)
                figures[slot].ready =
                    StartAndExit(folders[slot], runs[slot].first, runs[slot].second, figures[slot], shownNotes[slot]);
        }
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::wstring notes = NotesFolderOf(folders[i]);
        std::string bytes;
        for (int n = 1; n <= runs[i].first; ++n) {
            if (shownNotes[i].count(n) != 0)
                continue;
            ++figures[i].neverShown;
            bytes.clear();
            if (fw::ReadWholeFile(NotePath(notes, n), bytes) && bytes == SampleFile(n))
                ++figures[i].identical;
        }
        RemoveProgramFolder(folders[i]);
    }
    RemoveProgramFolder(floorFolder);
    if (!floorRuns)
        floorReady.clear();
    return figures;
}

// The median over rounds of a figure divided by the base's figure of the same round.
double RoundRatio(const std::vector<double>& values, const std::vector<double>& base)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < values.size() && i < base.size(); ++i)
        ratios.push_back(values[i] / base[i]);
    return Median(ratios);
}

void PrintFloor(const std::vector<double>& floorReady)
{
    if (floorReady.size() != static_cast<std::size_t>(kProgramRounds)) {
        std::printf("Floor: the bare tray program did not come up or end in every round: no floor\n");
        return;
    }
    std::printf("Floor: a bare tray program (pinvel_bare_tray.exe), %d starts in the same rounds: fastest (median)\n",
                kProgramRounds);
    std::printf("  ready                %9.1f ms  (%.1f ms)\n", Fastest(floorReady) * 1e3, Median(floorReady) * 1e3);
}

void PrintProgram(const ProgramFigures& f, const ProgramFigures& base, const std::vector<double>& floorReady)
{
    std::printf("Whole program, N = %d notes, %d shown, %zu starts: fastest (median)\n", f.count, f.shown,
                f.readySeconds.size());
    if (!f.ready || f.readySeconds.size() != static_cast<std::size_t>(kProgramRounds)) {
        std::printf("  not ready\n");
        return;
    }
    const bool compare = &base != &f && base.readySeconds.size() == f.readySeconds.size();
    std::printf("  ready                %9.1f ms  (%.1f ms)", Fastest(f.readySeconds) * 1e3,
                Median(f.readySeconds) * 1e3);
    if (compare)
        std::printf("  %.2f x N = %d (%.2f x in the same rounds)", Fastest(f.readySeconds) / Fastest(base.readySeconds),
                    base.count, RoundRatio(f.readySeconds, base.readySeconds));
    if (floorReady.size() == f.readySeconds.size())
        std::printf("\n  ready against floor  %9.2f x floor  (%.2f x floor in the same rounds)",
                    Fastest(f.readySeconds) / Fastest(floorReady), RoundRatio(f.readySeconds, floorReady));
    std::printf("\n  memory: private      %9.1f MiB", Median(f.privateBytes) / 1048576);
    if (compare)
        std::printf("  %+.1f MiB against N = %d", (Median(f.privateBytes) - Median(base.privateBytes)) / 1048576,
                    base.count);
    std::printf("\n          resident     %9.1f MiB", Median(f.residentBytes) / 1048576);
    if (compare)
        std::printf("  %+.1f MiB against N = %d", (Median(f.residentBytes) - Median(base.residentBytes)) / 1048576,
                    base.count);
    std::printf("\n  -exit until it ended %9.1f ms  (%.1f ms), %s", Fastest(f.exitSeconds) * 1e3,
                Median(f.exitSeconds) * 1e3, f.exitedNormally ? "ended normally (exit code 0)" : "did NOT end normally");
    if (compare)
        std::printf("  %.2f x N = %d", Fastest(f.exitSeconds) / Fastest(base.exitSeconds), base.count);
    std::printf("\n  never-shown files    %d of %d byte-identical after every start%s\n", f.identical, f.neverShown,
                f.identical == f.neverShown ? "" : "  <-- CHANGED");
}

std::vector<int> Counts(const char* list)
{
    std::vector<int> counts;
    std::string text(list);
    std::replace(text.begin(), text.end(), ',', ' ');
    std::istringstream in(text);
    for (int n; in >> n;)
        counts.push_back(n > 0 ? n : 1);
    return counts;
}

} // namespace

// Arguments:
//   N...                 start-up and saving runs in this process, one per count;
//   --program=N,N...     the whole program started with each count of hidden notes;
//   --exit=N,SHOWN       the whole program ended with N notes loaded and SHOWN of them open;
//   --cpu=SECONDS        a big note's first show, open notes' memory and 20 clocks' CPU;
//   --find=N             find any note over N hidden notes;
//   --typing=N           typing into a note of N check-list items and of N plain lines;
//   --start-steps=N,N... each step of the program's start, timed in fresh processes.
// Wine keeps some of what each rich-edit control used after the control is gone, so
// `make bench` starts one process per count.
int main(int argc, char** argv)
{
    std::vector<int> counts;
    std::vector<int> programCounts;
    std::vector<int> exitRun;
    double cpuSeconds = 0;
    int findCount = 0;
    int toggleCount = 0;
    int typingCount = 0;
    std::vector<int> startCounts;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--start-steps=", 14) == 0)
            startCounts = Counts(argv[i] + 14);
        else if (std::strncmp(argv[i], "--find=", 7) == 0)
            findCount = std::atoi(argv[i] + 7);
        else if (std::strncmp(argv[i], "--toggle=", 9) == 0)
            toggleCount = std::atoi(argv[i] + 9);
        else if (std::strncmp(argv[i], "--typing=", 9) == 0)
            typingCount = std::atoi(argv[i] + 9);
        else if (std::strncmp(argv[i], "--cpu=", 6) == 0)
            cpuSeconds = std::atof(argv[i] + 6);
        else if (std::strncmp(argv[i], "--program=", 10) == 0)
            programCounts = Counts(argv[i] + 10);
        else if (std::strncmp(argv[i], "--exit=", 7) == 0)
            exitRun = Counts(argv[i] + 7);
        else
            counts.push_back(std::max(1, std::atoi(argv[i])));
    }
    for (int count : counts) {
        if (!Run(count))
            return 1;
        std::fflush(stdout);
    }

    std::vector<std::pair<int, int>> runs;
    for (int count : programCounts)
        runs.emplace_back(count, 0);
    if (exitRun.size() == 2)
        runs.emplace_back(exitRun[0], exitRun[1]);
    std::vector<double> floorReady;
    const std::vector<ProgramFigures> programs = RunPrograms(runs, floorReady);
    if (!programs.empty())
        PrintFloor(floorReady);
    for (const auto& figures : programs)
        PrintProgram(figures, programs.front(), floorReady);
    std::fflush(stdout);
    if (!startCounts.empty())
        RunStartSteps(startCounts);

    if (cpuSeconds > 0) {
        RunOpenNotes(cpuSeconds);
        PrintProgramSize();
    }
    if (findCount > 0)
        RunFindNotes(findCount);
    if (toggleCount > 0)
        RunShowHideAll(toggleCount);
    if (typingCount > 0)
        RunTyping(typingCount);
    std::fflush(stdout);
    return 0;
}
