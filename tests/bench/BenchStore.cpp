// Start-up cost of the note store: loading N hidden notes compared with its two parts,
// reading the headers and making the windows. Prints figures; it is not a test.
#include "app/PDummyWnd.h"
#include "app/PError.h"
#include "core/NoteFile.h"
#include "framework/File.h"
#include "store/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

PError g_error;
PLogic g_logic;

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Committed private memory of the process, counted region by region: not every system
// reports it through the process counters.
double PrivateBytes()
{
    double total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (const char* address = nullptr;
         ::VirtualQuery(address, &info, sizeof(info)) == sizeof(info) && info.RegionSize != 0;
         address = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += static_cast<double>(info.RegionSize);
    }
    return total;
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

std::string TempFolder(int n)
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "pinvel-bench-" + std::to_string(n) + "-" +
                         std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveNotes(const std::string& notesFolder, int count)
{
    for (int i = 1; i <= count; ++i)
        ::DeleteFileA((notesFolder + "\\N021215 (" + std::to_string(i) + ").pvl").c_str());
    ::RemoveDirectoryA(notesFolder.c_str());
}

void Run(int count)
{
    const std::string folder = TempFolder(count);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    const std::string notes = logic->NotesFolder();
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        NoteFields fields;
        fields.title = "note " + std::to_string(i);
        fields.userName = "bench";
        paths.push_back(notes + "\\N021215 (" + std::to_string(i) + ").pvl");
        fw::ReplaceFileContents(paths.back(), EncodeNoteFile(fields, SampleRtf(i)));
    }

    WarmUp(logic->GetHwnd());
    // Warm the file cache so that every run reads from memory.
    std::string bytes;
    for (const auto& path : paths)
        fw::ReadWholeFile(path, bytes);

    const double memoryBefore = PrivateBytes();
    double start = Now();
    logic->LoadAllNotes();
    const double load = Now() - start;
    const double memoryPerNote = (PrivateBytes() - memoryBefore) / count;

    start = Now();
    for (const auto& path : paths) {
        NoteFields fields;
        std::size_t textOffset = 0;
        fw::ReadWholeFile(path, bytes);
        DecodeNoteFields(bytes, fields, textOffset);
    }
    const double headers = Now() - start;

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

    std::printf("N = %d notes (%zu loaded)\n", count, logic->Notes().size());
    std::printf("  LoadAllNotes          %9.1f ms  %7.3f ms/note\n", load * 1e3, load * 1e3 / count);
    std::printf("  headers only          %9.1f ms  (%.1f%% of the load)\n", headers * 1e3, 100 * headers / load);
    std::printf("  owner + editor only   %9.1f ms  (%.1f%% of the load)\n", windows * 1e3, 100 * windows / load);
    std::printf("  private memory        %9.1f KB per hidden note\n", memoryPerNote / 1024);

    editors.clear();
    owners.clear();
    logic.reset();
    RemoveNotes(notes, count);
    ::DeleteFileA((folder + "Pinvel.ini").c_str());
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {50, 1000};
    for (int count : counts)
        Run(count > 0 ? count : 1);
    return 0;
}
