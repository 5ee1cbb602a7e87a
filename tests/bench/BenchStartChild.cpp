// The child of the start-steps benchmark (BenchStart.cpp): a windowed program like
// Pinvel, linked as Pinvel is, that takes the program's start steps once each, in the
// program's order (PApp::InitInstance, then the logic window's WM_CREATE), and writes how
// long each took into the current folder. A fresh process per round, so that every step
// does its first-time work as it does in the program. Steps the library does not offer
// apart are made of the same calls.
#include "BenchClock.h"
#include "BenchStart.h"

#include "app/PApp.h"
#include "core/NoteLook.h"
#include "core/SettingsFile.h"
#include "dialogs/PAboutDlg.h"
#include "framework/DarkMode.h"
#include "framework/Dpi.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "framework/Handle.h"
#include "framework/Language.h"
#include "framework/Messages.h"
#include "framework/PError.h"
#include "framework/Strings.h"
#include "logic/PLogic.h"
#include "res/resource.h"
#include "store/PDeletedNotes.h"
#include "store/PFolderWatch.h"
#include "store/PHome.h"
#include "store/PNoteReader.h"
#include "store/POptions.h"
#include "store/PRescue.h"
#include "text/PRichEdit.h"
#include "tray/PSysTray.h"
#include "tray/TrayHost.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// The program's global objects, as its Main.cpp has them.
PError g_error;
PLogic g_logic;

namespace {

using Results = std::vector<std::pair<std::string, double>>;

template <typename Step>
void Time(Results& results, const char* key, Step&& step)
{
    const double start = Now();
    step();
    results.emplace_back(key, (Now() - start) * 1e3);
}

// The seconds the tray spends in the shell's hands, from the tray's own hook for tests.
double g_shellSeconds = 0;

BOOL WINAPI TimedNotify(DWORD message, PNOTIFYICONDATAW data)
{
    const double start = Now();
    const BOOL done = ::Shell_NotifyIconW(message, data);
    g_shellSeconds += Now() - start;
    return done;
}

// What the tray asks of its owner at start: the hotkeys and the language of the side file.
// It is never shown a menu here, so the rest answers nothing.
class StepsHost : public TrayHost {
public:
    POptions options;

    const NoteList& Notes() const override { return m_notes; }
    bool FinishStart() override { return true; }
    const PNoteReader& Reader() const override { return m_reader; }
    bool IsHidden(PNote*) const override { return true; }
    PinvelWnd* ShowNote(PNote*) override { return nullptr; }
    void HideNote(PNote*) override {}
    PinvelWnd* NewNoteAndShow() override { return nullptr; }
    void HideAll() override {}
    void ShowAll() override {}
    void ShowOrHideAll() override {}
    void BringNextNoteForward() override {}
    void ShowFindNotes() override {}
    void NewNoteFromClipboard() override {}
    void ShowHelp() override {}
    void ShowAbout() override {}
    void BackUpAll() override {}
    void OpenNotesFolder() override {}
    void ExitFromTray() override {}
    std::wstring NotesFolder() const override { return std::wstring(); }
    PNote* RestoreDeletedNote(const std::wstring&) override { return nullptr; }
    const HotkeyOptions& Hotkeys() const override { return options.Hotkeys(); }
    void SetHotkeys(const HotkeyOptions& hotkeys) override { options.SetHotkeys(hotkeys); }
    LanguageChoice Language() const override { return options.Language(); }
    void SetLanguage(LanguageChoice choice) override { options.SetLanguage(choice); }

private:
    NoteList m_notes;
    PNoteReader m_reader;
};

struct LibraryDeleter {
    void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

// As the logic window asks for the user's folders (PLogicSafety.cpp, not offered apart).
std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)) ||
        path[0] == 0)
        return std::wstring();
    std::wstring folder(path);
    return folder.back() == L'\\' ? folder : folder + L'\\';
}

// The steps one by one, in the program's order. The program folder is the current folder.
void TimeSteps(Results& results, const std::wstring& programFolder)
{
    Time(results, "dark", [] { fw::AllowDarkMode(); });
    Time(results, "registry", [] {
        fw::RegKey key;
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Ardmoor\\Pinvel\\1.1", 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, key.Receive(), nullptr);
    });
    fw::Handle guard;
    Time(results, "copy", [&] {
        ::FindWindowW(fw::WideFromText(kLogicClass).c_str(), nullptr);
        guard.Reset(::CreateMutexW(nullptr, FALSE, L"Pinvel.RunningCopy.1.1"));
        ::WaitForSingleObject(guard.Get(), 100);
    });
    Time(results, "logic-class", [] { fw::RegisterClassOnce(kLogicClass, 0, IDI_PINVEL, nullptr, nullptr); });
    fw::Wnd logic;
    Time(results, "logic-window",
         [&] { logic.CreateEx(0, kLogicClass, "PinvelMain", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr); });
    const HWND hwnd = logic.GetHwnd();

    std::wstring roaming, local;
    Time(results, "user-folders", [&] {
        roaming = ShellFolder(CSIDL_APPDATA);
        local = ShellFolder(CSIDL_LOCAL_APPDATA);
    });
    PHome home;
    Time(results, "home",
         [&] { home = PHome::Find(programFolder, roaming.empty() ? roaming : roaming + L"Pinvel\\", local); });
    Time(results, "settings", [&] {
        NoteLook look;
        std::string file;
        if (fw::ReadWholeFile(home.folder + L"Pinvel.ini", file, 64 * 1024))
            DecodeSettings(file, look);
    });
    const std::wstring notes = home.folder + fw::LoadResStringW(IDS_NOTES_FOLDER);
    StepsHost host;
    Time(results, "side-file", [&] { host.options.Load(notes); });
    Time(results, "language", [&] { fw::SetUiLanguage(fw::LanguageForChoice(host.options.Language())); });

    Time(results, "tray-class", [] {
        fw::RegisterClassOnce("PCN_SYSTRAY", 0, 0, MAKEINTRESOURCEW(32512), nullptr);
    });
    Time(results, "tray-picture", [] { const fw::Icon icon(IDI_TRAY, fw::IconSizeForDpi(16, fw::SystemDpi())); });
    auto tray = std::make_unique<PSysTray>();
    g_shellSeconds = 0;
    PSysTray::SetNotifyFunction(&TimedNotify);
    Time(results, "tray-window", [&] { tray->Create(hwnd, &host); });
    results.emplace_back("tray-shell", g_shellSeconds * 1e3);
    Time(results, "hotkeys", [&] { tray->RegisterHotkeys(); });
    Time(results, "timer", [&] { ::SetTimer(hwnd, 1, 1000, nullptr); });
    const std::wstring pattern = L"*." + fw::LoadResStringW(IDS_NOTE_EXT);
    PNoteReader reader;
    Time(results, "listing", [&] { reader.Begin(hwnd, 3, notes, pattern, [](const std::wstring&) {}); });
    reader.Stop();
    Time(results, "start-timer", [&] { ::SetTimer(hwnd, 5, USER_TIMER_MINIMUM, nullptr); });

    // From the start timer: after the program answers, before a note is read.
    Time(results, "controls", [] { fw::UseCommonControls(); });
    Library richEdit;
    Time(results, "richedit-library", [&] { richEdit.reset(::LoadLibraryW(L"RICHED20.DLL")); });
    Time(results, "richedit-probe", [&] { PRichEdit::CheckAvailable(hwnd); });
    Time(results, "notes-folder", [&] { fw::MakeFolder(notes); });
    Time(results, "deleted", [&] {
        for (const std::wstring& gone : PDeletedNotes(notes).KeepNewest(PDeletedNotes::kKept))
            host.options.Forget(gone);
    });
    // When the user first asks for it.
    auto about = std::make_unique<PAboutDlg>();
    Time(results, "about", [&] { about->Create(hwnd); });

    // Once every note is read from the loop: after the program answers.
    PFolderWatch watch;
    Time(results, "watch", [&] {
        watch.Start(notes, pattern);
        ::SetTimer(hwnd, 4, 1000, nullptr);
    });
    Time(results, "rescue", [&] {
        const std::wstring rescue = PLogic::RescueFolder();
        if (!rescue.empty())
            PRescue(rescue).BringBack(
                notes, [](const std::wstring&) { return false; }, [](const std::wstring&) { return false; });
    });

    // The icon leaves the notification area with the tray window.
    tray.reset();
    PSysTray::SetNotifyFunction(nullptr);
}

// Everything before the loop in one go, as WinMain runs it.
void TimeWhole(Results& results, const std::wstring& programFolder)
{
    PLogic::SetProgramFolder(programFolder);
    PApp app;
    bool running = false;
    Time(results, "whole", [&] {
        fw::AllowDarkMode();
        running = app.InitInstance();
    });
    if (!running)
        return;
    Time(results, "whole-rest", [] { g_logic.FinishStart(); });
    g_logic.Shutdown();
}

} // namespace

// Arguments: "steps,STAMP" or "whole,STAMP", STAMP the performance counter just before the
// parent created this process.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    // First of all: the process counts from its creation to here.
    LARGE_INTEGER entered;
    ::QueryPerformanceCounter(&entered);
    const std::string text(arguments != nullptr ? arguments : "");
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return 2;
    const std::string kind = text.substr(0, comma);
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const double startMs =
        static_cast<double>(entered.QuadPart - std::stoll(text.substr(comma + 1))) * 1e3 / frequency.QuadPart;

    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring folder(current);
    if (folder.back() != L'\\')
        folder += L'\\';
    Results results;
    if (kind == "steps") {
        results.emplace_back("start", startMs);
        TimeSteps(results, folder);
    } else if (kind == "whole") {
        results.emplace_back("whole-start", startMs);
        TimeWhole(results, folder);
    } else {
        return 2;
    }
    std::string out;
    for (const auto& [key, ms] : results)
        out += key + " " + std::to_string(ms) + "\n";
    return fw::ReplaceFileContents(folder + kStartResultsFile, out) ? 0 : 1;
}
