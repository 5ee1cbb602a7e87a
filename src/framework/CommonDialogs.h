#pragma once
#include <windows.h>

#include <string>

namespace fw {

// The window that owns dialogs made without an explicit parent: the last active
// pop-up of the application's main window (the note window a command came from).
HWND DefaultOwner();

// The application's message box: the program's name as caption unless one is given.
// Tests replace the function that shows it.
using MessageBoxFunction = int (*)(HWND owner, const std::string& text, const std::string& caption, UINT type);
int ShowMessage(HWND owner, const std::string& text, UINT type);
void SetMessageBoxFunction(MessageBoxFunction function);

// The Explorer-style file dialogs. The filter separates its entries with "|" and ends
// with "||"; filterIndex (from 1) is the entry selected at start and, on OK, the one
// chosen. The save dialog adds the extension of the filter selected at start to a name
// typed without one, so its overwrite prompt asks about the file that is written.
// False when cancelled.
bool ShowFileDialog(bool open, HWND owner, const char* filter, DWORD flags, std::wstring& path, DWORD& filterIndex);

// The font dialog, starting from the font given; on OK the chosen font and its size
// in tenths of a point.
bool ShowFontDialog(HWND owner, DWORD flags, LOGFONTW& font, int& pointSizeTenths);

// The colour dialog. Its sixteen custom colours are shared by every colour dialog of
// the process, so a colour mixed in one is offered in the next.
bool ShowColorDialog(HWND owner, DWORD flags, COLORREF& colour);

// The system's folder picker, with a box to type a path into; folder is where it starts
// and, on OK, the folder chosen. False when cancelled. Tests replace the function.
using FolderDialogFunction = bool (*)(HWND owner, const std::wstring& prompt, std::wstring& folder);
bool ShowFolderDialog(HWND owner, const std::wstring& prompt, std::wstring& folder);
void SetFolderDialogFunction(FolderDialogFunction function);

} // namespace fw
