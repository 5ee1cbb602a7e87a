#pragma once
#include "FindNotesHost.h"
#include "../framework/Dialog.h"
#include "../store/PNoteFinder.h"

#include <commctrl.h>

#include <string>
#include <vector>

class PNote;

// Find any note: a modeless dialog, made on first use and kept, that lists the notes
// whose title or text holds what is typed, and shows the one chosen. It stays above the
// notes, which are always on top, while it is shown.
class PFindNotesDlg : public fw::Dialog {
public:
    explicit PFindNotesDlg(FindNotesHost& host);

    // Shows the dialog (centred the first time), brings it to the front and puts the
    // cursor in the search box with its text selected.
    void Show();
    // The notes read at start are all in: what is typed is looked for again among them.
    void OnAllNotesRead();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    BOOL OnNotify(const NMHDR& header);
    void OnActivate(WPARAM wParam);
    void OnGetDispInfo(NMLVDISPINFOW& info);
    void Search();
    // Says, below the list, that notes are still being read and more may be found.
    void ShowReading();
    void ShowNoteAt(int row);
    int SelectedRow() const;
    HWND List() const;
    // The list is a system control that takes no dialog colours: it is told its own.
    void FollowLookInList();

    FindNotesHost& m_host;
    PNoteFinder m_finder;
    std::vector<PNoteFinder::Hit> m_hits;
    // The text of the cell the list asked for last: it reads it after the call returns.
    std::wstring m_cellText;
    bool m_placed = false;
    // The list's own colours, given back when the look turns light again.
    bool m_listDark = false;
    COLORREF m_listBack = 0;
    COLORREF m_listTextBack = 0;
    COLORREF m_listText = 0;
};
