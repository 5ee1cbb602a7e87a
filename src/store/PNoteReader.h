#pragma once
#include "../core/SliceReading.h"

#include <windows.h>

#include <functional>
#include <string>

// Reads the notes folder once the message loop runs: the program answers at once however
// many notes there are, and each slice gives way to whatever waits in the queue.
class PNoteReader {
public:
    using ReadOne = std::function<void(const std::wstring& path)>;

    // Lists the note files the pattern finds and has the owner's timer ask for slices.
    // False when nothing is left to read: an empty folder, or one read at once because
    // no timer could be had.
    bool Begin(HWND owner, UINT_PTR timerId, const std::wstring& folder, const std::wstring& pattern,
               const ReadOne& readOne);
    // One slice, from the owner's timer. True when it read the last file.
    bool ReadSlice(const ReadOne& readOne);
    // What is left, now: for the steps that need every note (show all, a backup, a new
    // note's free title). True when there was something left.
    bool ReadRest(const ReadOne& readOne);
    // Ending: nothing more is read.
    void Stop();

    bool IsReading() const { return m_files.IsReading(); }
    int Read() const { return m_files.Read(); }
    int Total() const { return m_files.Total(); }

private:
    void KillTimer();

    HWND m_owner = nullptr;
    UINT_PTR m_timerId = 0;
    SliceReading m_files;
};
