// Where the program's own start goes: pinvel_start_steps.exe (BenchStartChild.cpp) takes
// the program's start steps one by one, and in another process all at once, in folders of
// each note count; this prints the fastest of a few rounds. Prints figures; it is not a
// test.
#include "BenchProgram.h"
#include "BenchStart.h"

#include "core/NoteLook.h"
#include "core/SettingsFile.h"
#include "framework/File.h"
#include "framework/Strings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Fresh processes per count and kind; each takes a few hundred milliseconds.
constexpr int kRounds = 5;
constexpr double kChildPatience = 120;

struct Row {
    const char* key;
    const char* label;
    // Counted in the sum of the steps before the loop answers.
    bool beforeReady;
};

// A star: the library offers no call for the step alone, so its own calls are made.
constexpr Row kRows[] = {
    {"start", "process created until WinMain (Pinvel's DLLs, -s)", false},
    {"dark", "dark mode allowed (fw::AllowDarkMode)", true},
    {"registry", "registry key (RegCreateKeyExW, HKLM) *", true},
    {"copy", "running copy: FindWindowW, mutex *", true},
    {"logic-class", "logic class registered (fw::RegisterClassOnce)", true},
    {"logic-window", "logic window made, empty WM_CREATE (fw::Wnd) *", true},
    {"user-folders", "user folders (SHGetFolderPathW x2) *", true},
    {"home", "home check (PHome::Find)", true},
    {"settings", "settings file (ReadWholeFile, DecodeSettings) *", true},
    {"side-file", "side file (POptions::Load)", true},
    {"language", "language (fw::SetUiLanguage)", true},
    {"tray-class", "tray class registered (fw::RegisterClassOnce)", true},
    {"tray-picture", "tray icon's picture, first load (fw::Icon)", true},
    {"tray-window", "tray window and icon (PSysTray::Create)", true},
    {"tray-shell", "  of it, Shell_NotifyIconW ADD + SETVERSION", false},
    {"hotkeys", "hotkeys (PSysTray::RegisterHotkeys)", true},
    {"timer", "minute timer (SetTimer)", true},
    {"listing", "note files listed (PNoteReader::Begin)", true},
    {"start-timer", "start timer (SetTimer)", true},
};

// Taken once the program answers: from the start timer, before any note is read, and the
// About dialog when the user first asks for it.
constexpr Row kLaterRows[] = {
    {"controls", "  common controls (fw::UseCommonControls), library bound", false},
    {"richedit-library", "  rich-edit library (LoadLibraryW) *", false},
    {"richedit-probe", "  rich-edit probe (PRichEdit::CheckAvailable)", false},
    {"notes-folder", "  notes folder (fw::MakeFolder) *", false},
    {"deleted", "  deleted notes kept (PDeletedNotes::KeepNewest)", false},
    {"about", "  About dialog, when first asked for (PAboutDlg::Create)", false},
};

using Times = std::map<std::string, std::vector<double>>;

double FastestOf(const Times& times, const std::string& key)
{
    const auto found = times.find(key);
    if (found == times.end() || found->second.empty())
        return -1;
    return *std::min_element(found->second.begin(), found->second.end());
}

// One child; its figures go into times. False when it did not end normally.
bool RunChild(const std::wstring& folder, const char* kind, Times& times)
{
    const std::wstring results = folder + kStartResultsFile;
    ::DeleteFileW(results.c_str());
    LARGE_INTEGER stamp;
    ::QueryPerformanceCounter(&stamp);
    const std::wstring arguments =
        fw::WideFromText(kind) + L"," + std::to_wstring(static_cast<long long>(stamp.QuadPart));
    Process child;
    if (!child.Start(BenchFolder() + L"pinvel_start_steps.exe", arguments, folder) || child.Wait(kChildPatience) != 0)
        return false;
    std::string bytes;
    if (!fw::ReadWholeFile(results, bytes))
        return false;
    std::istringstream in(bytes);
    std::string key;
    for (double ms; in >> key >> ms;)
        times[key].push_back(ms);
    return true;
}

void PrintCells(const std::vector<double>& values)
{
    for (double value : values) {
        if (value < 0)
            std::printf("  %9s", "-");
        else
            std::printf("  %9.2f", value);
    }
    std::printf("\n");
}

void PrintRow(const char* label, const std::vector<Times>& times, const std::string& key)
{
    std::printf("  %-56s", label);
    std::vector<double> values;
    for (const Times& of : times)
        values.push_back(FastestOf(of, key));
    PrintCells(values);
}

// The fastest over the rounds of a sum taken in each round.
double FastestSum(const Times& times, const std::string& first, const std::string& second)
{
    const auto a = times.find(first);
    const auto b = times.find(second);
    if (a == times.end() || b == times.end() || a->second.empty())
        return -1;
    double best = -1;
    for (std::size_t i = 0; i < a->second.size() && i < b->second.size(); ++i) {
        const double sum = a->second[i] + b->second[i];
        best = best < 0 ? sum : std::min(best, sum);
    }
    return best;
}

} // namespace

void RunStartSteps(const std::vector<int>& counts)
{
    std::vector<std::wstring> folders;
    for (int count : counts) {
        folders.push_back(TempFolder(L"start-", count));
        WriteNotes(NotesFolderOf(folders.back()), count);
        // As the program finds its folder from its second start on.
        fw::ReplaceFileContents(folders.back() + L"Pinvel.ini", EncodeSettings(NoteLook()));
    }
    std::vector<Times> times(counts.size());
    bool complete = true;
    for (int round = 0; round < kRounds && complete; ++round) {
        for (std::size_t i = 0; i < counts.size() && complete; ++i)
            complete = RunChild(folders[i], "whole", times[i]) && RunChild(folders[i], "steps", times[i]);
    }
    for (const std::wstring& folder : folders)
        RemoveProgramFolder(folder);
    if (!complete) {
        std::printf("Start steps: FAILED: a child process did not end normally\n");
        return;
    }

    std::printf("Start steps, each round in fresh processes: fastest of %d rounds, ms\n", kRounds);
    std::printf("  %-56s", "");
    for (int count : counts)
        std::printf("  %9s", ("N = " + std::to_string(count)).c_str());
    std::printf("\n");
    std::vector<double> sums(counts.size(), 0);
    for (const Row& row : kRows) {
        PrintRow(row.label, times, row.key);
        for (std::size_t i = 0; i < counts.size(); ++i) {
            if (row.beforeReady)
                sums[i] += std::max(0.0, FastestOf(times[i], row.key));
        }
    }
    std::printf("  %-56s", "sum of the steps, main until the loop answers");
    PrintCells(sums);
    PrintRow("the same at once: AllowDarkMode, PApp::InitInstance", times, "whole");
    std::printf("  %-56s", "process created until the loop answers, in-process");
    std::vector<double> inProcess;
    for (const Times& of : times)
        inProcess.push_back(FastestSum(of, "whole-start", "whole"));
    PrintCells(inProcess);
    std::printf("  after the program answers: the start timer's steps, then the About dialog:\n");
    for (const Row& row : kLaterRows)
        PrintRow(row.label, times, row.key);
    PrintRow("  the same at once (PLogic::FinishStart)", times, "whole-rest");
    std::printf("  once every note is read, after the program answers:\n");
    PrintRow("  folder watch (PFolderWatch::Start, SetTimer)", times, "watch");
    PrintRow("  rescue check (PRescue::BringBack)", times, "rescue");
    std::printf("  * not offered apart by the library: the same calls, made by the benchmark\n");
}
