// Start-up cost of the note store: loading N hidden notes compared with its two parts,
// reading the headers and making the windows. Prints figures; it is not a test.
#include "app/PDummyWnd.h"
#include "app/PError.h"
#include "dialogs/PFindNotesDlg.h"
#include "core/NoteFile.h"
#include "framework/File.h"
#include "res/resource.h"
#include "store/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "../common/ProcessMemory.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

PError g_error;
PLogic g_logic;

namespace {

constexpr int kMaxLoadedTexts = 1000;

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The first editor loads the rich-edit library; keep that out of every figure.
void WarmUp(HWND parent)
{
    PDummyWnd owner;
    owner.Create(parent);
    PRichEdit editor;
    const RECT rect = {0, 0, 1, 1};
    editor.Create(0, rect, owner.GetHwnd());
}

// About 4 KB of RTF, as a note of a page of formatted text would hold.
std::string SampleRtf(int n)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil Times New Roman;}}\\f0\\fs24 ";
    while (rtf.size() < 4096 - 40)
        rtf += "{\\b note " + std::to_string(n) + "} some words of ordinary text \\par\r\n";
    return rtf + "}";
}

std::wstring TempFolder(int n)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    // Process ids repeat from one Wine session to the next: the tick count keeps the
    // folder of an interrupted run out of this one.
    std::wstring folder = std::wstring(temp) + L"pinvel-bench-" + std::to_wstring(n) + L"-" +
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

void Run(int count)
{
    const std::wstring folder = TempFolder(count);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    const std::wstring notes = logic->NotesFolder();
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
        NoteFields fields;
        fields.title = "note " + std::to_string(i);
        fields.userName = "bench";
        paths.push_back(NotePath(notes, i));
        fw::ReplaceFileContents(paths.back(), EncodeNoteFile(fields, SampleRtf(i)));
    }

    WarmUp(logic->GetHwnd());
    // Warm the file cache so that every run reads from memory.
    std::string bytes;
    for (const auto& path : paths)
        fw::ReadWholeFile(path, bytes);

    const double memoryBefore = testutil::PrivateBytes();
    double start = Now();
    logic->LoadAllNotes();
    const double load = Now() - start;
    const double memoryPerNote = (testutil::PrivateBytes() - memoryBefore) / count;

    start = Now();
    for (const auto& path : paths) {
        NoteFields fields;
        std::size_t textOffset = 0;
        fw::ReadWholeFile(path, bytes);
        DecodeNoteFields(bytes, fields, textOffset);
    }
    const double headers = Now() - start;


    // Saving: the texts of up to 1,000 notes loaded, then SaveAll against the floor of
    // streaming the same texts out and writing the same bytes. Each hidden control first
    // gets the size of a note, as it has after being shown: in a 1 x 1 control every
    // character would wrap onto a line of its own, and a thousand of those exhaust the
    // address space. (The program loads a text only into a control a note window sized.)
    int loaded = 0;
    for (auto& note : logic->Notes()) {
        if (loaded++ == kMaxLoadedTexts)
            break;
        ::MoveWindow(note->Editor()->GetHwnd(), 0, 0, 400, 240, FALSE);
        note->Load(false, true);
    }
    start = Now();
    logic->SaveAllNotes();
    const double save = Now() - start;
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

    std::vector<std::unique_ptr<PDummyWnd>> owners;
    std::vector<std::unique_ptr<PRichEdit>> editors;
    start = Now();
    for (int i = 0; i < count; ++i) {
        owners.push_back(std::make_unique<PDummyWnd>());
        owners.back()->Create(logic->GetHwnd());
        editors.push_back(std::make_unique<PRichEdit>());
        const RECT rect = {0, 0, 1, 1};
        editors.back()->Create(0, rect, owners.back()->GetHwnd());
    }
    const double windows = Now() - start;

    editors.clear();
    owners.clear();

    std::printf("N = %d notes (%zu loaded)\n", count, logic->Notes().size());
    std::printf("  start-up: LoadAllNotes %9.1f ms  %7.3f ms/note\n", load * 1e3, load * 1e3 / count);
    std::printf("    headers only         %9.1f ms\n", headers * 1e3);
    std::printf("    owner + editor only  %9.1f ms\n", windows * 1e3);
    std::printf("    ratio to the floor   %9.2f\n", load / (headers + windows));
    std::printf("  SaveAllNotes (%4d texts) %7.1f ms  floor %.1f ms, ratio %.2f\n",
                loaded < kMaxLoadedTexts ? loaded : kMaxLoadedTexts, save * 1e3, saveFloor * 1e3, save / saveFloor);
    std::printf("  private memory         %9.1f KB per hidden note\n", memoryPerNote / 1024);

    logic.reset();
    RemoveNotes(notes, count);
    ::DeleteFileW((folder + L"Pinvel.ini").c_str());
    ::RemoveDirectoryW(folder.c_str());
}

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
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
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// A big note's first showing, the memory of open notes and the idle cost of clocks.
void RunOpenNotes(double cpuSeconds)
{
    const std::wstring folder = TempFolder(0);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    const std::wstring notes = logic->NotesFolder();
    std::string big = "{\\rtf1\\ansi ";
    while (big.size() < 100 * 1024)
        big += "{\\b a longer note} with lines of ordinary text \\par\r\n";
    big += "}";
    NoteFields fields;
    fields.title = "big";
    fw::ReplaceFileContents(NotePath(notes, 1), EncodeNoteFile(fields, big));
    PNote* bigNote = logic->LoadNote(NotePath(notes, 1));
    WarmUp(logic->GetHwnd());
    double start = Now();
    logic->ShowNote(bigNote);
    const double firstShow = Now() - start;
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
    std::printf("  first show of a 100 KB note %7.1f ms\n", firstShow * 1e3);
    std::printf("  private memory      %9.1f KB per open note (beyond a hidden one)\n", memoryPerOpen / 1024);
    std::printf("  CPU, 20 clocks      %9.2f %% of one core over %.0f s\n", cpu * 100, cpuSeconds);

    logic.reset();
    RemoveNotes(notes, 21);
    ::DeleteFileW((folder + L"Pinvel.ini").c_str());
    ::RemoveDirectoryW(folder.c_str());
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

void RunFindNotes(int count)
{
    const std::wstring folder = TempFolder(count);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    const std::wstring notes = logic->NotesFolder();
    std::vector<std::wstring> paths;
    for (int i = 1; i <= count; ++i) {
        NoteFields fields;
        fields.title = "note " + std::to_string(i);
        paths.push_back(NotePath(notes, i));
        fw::ReplaceFileContents(paths.back(), EncodeNoteFile(fields, FindSampleRtf(i)));
    }
    logic->LoadAllNotes();
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

    logic.reset();
    RemoveNotes(notes, count);
    ::DeleteFileW((folder + L"Pinvel.ini").c_str());
    ::RemoveDirectoryW(folder.c_str());
}

void PrintProgramSize(const char* benchPath)
{
    std::string path(benchPath);
    path = path.substr(0, path.find_last_of("\\/") + 1) + "..\\Pinvel.exe";
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        std::printf("Pinvel.exe          %9.1f KB\n", data.nFileSizeLow / 1024.0);
}

} // namespace

// Arguments: note counts for the start-up runs, --cpu=SECONDS for the run with open
// notes and --find=N for find any note over N notes. Wine keeps some of what each
// rich-edit control used after the control is gone, so `make bench` starts one process
// per count.
int main(int argc, char** argv)
{
    std::vector<int> counts;
    double cpuSeconds = 0;
    int findNotes = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--cpu=", 6) == 0)
            cpuSeconds = std::atof(argv[i] + 6);
        else if (std::strncmp(argv[i], "--find=", 7) == 0)
            findNotes = std::atoi(argv[i] + 7);
        else
            counts.push_back(std::atoi(argv[i]));
    }
    for (int count : counts)
        Run(count > 0 ? count : 1);
    if (findNotes > 0)
        RunFindNotes(findNotes);
    if (cpuSeconds > 0) {
        RunOpenNotes(cpuSeconds);
        PrintProgramSize(argv[0]);
    }
    return 0;
}
