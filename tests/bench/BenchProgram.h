#pragma once
// What the benchmarks that start programs share: the program's folder with its notes,
// and a started process.
#include <windows.h>

#include <string>
#include <vector>

// A new empty folder under the temporary folder, ending in a backslash.
std::wstring TempFolder(const std::wstring& kind, int n);
// The notes folder the program keeps in its folder.
std::wstring NotesFolderOf(const std::wstring& programFolder);
// Writes notes 1..count of about 4 KB of RTF and reads them all once, so that every
// figure reads from memory.
std::vector<std::wstring> WriteNotes(const std::wstring& notesFolder, int count);
void RemoveProgramFolder(const std::wstring& path);
// The folder of the benchmark's program file, ending in a backslash.
std::wstring BenchFolder();

struct Process {
    PROCESS_INFORMATION info = {};
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    bool Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder)
    {
        std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        return ::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                &startup, &info) != FALSE;
    }
    // The exit code once it has ended within the time; STILL_ACTIVE otherwise.
    DWORD Wait(double seconds) const
    {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(info.hProcess, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    ~Process()
    {
        if (info.hProcess == nullptr)
            return;
        if (Wait(0) == STILL_ACTIVE)
            ::TerminateProcess(info.hProcess, 1);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
};
