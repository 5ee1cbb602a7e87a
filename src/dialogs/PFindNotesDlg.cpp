#include "PFindNotesDlg.h"

#include "../framework/Accessible.h"
#include "../framework/Strings.h"
#include "../framework/SystemLook.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"
#include "../store/PNote.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The title column's share of the list's width; the line of the text takes the rest.
constexpr int kTitleColumnPercent = 35;

void AddColumn(HWND list, int index, UINT textId, int width)
{
    std::wstring text = fw::LoadResStringW(textId);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = &text[0];
    column.cx = width;
    column.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void SelectRow(HWND list, int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// A typed character that code page 936 has no place for would be looked for as '?'.
bool HoldsOnlyTextCharacters(const std::wstring& typed)
{
    return fw::WideFromText(fw::TextFromWide(typed)) == typed;
}

} // namespace

PFindNotesDlg::PFindNotesDlg(FindNotesHost& host) : fw::Dialog(IDD_FIND_NOTES), m_host(host) {}

BOOL PFindNotesDlg::OnInitDialog()
{
    fw::Dialog::OnInitDialog();
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND list = List();
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client;
    ::GetClientRect(list, &client);
    const int width = client.right - client.left - ::GetSystemMetrics(SM_CXVSCROLL);
    const int titleWidth = width * kTitleColumnPercent / 100;
    AddColumn(list, 0, IDS_FIND_NOTES_TITLE, titleWidth);
    AddColumn(list, 1, IDS_FIND_NOTES_LINE, width - titleWidth);
    m_listBack = static_cast<COLORREF>(::SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
    m_listTextBack = static_cast<COLORREF>(::SendMessageW(list, LVM_GETTEXTBKCOLOR, 0, 0));
    m_listText = static_cast<COLORREF>(::SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
    FollowLookInList();
    // The label above the dialog names the words typed, not the list under them.
    fw::NameControls({{list, fw::LoadResStringW(IDS_FIND_NOTES_FOUND)}});
    return TRUE;
}

void PFindNotesDlg::Show()
{
    if (!m_placed) {
        RECT area, dialog;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        ::GetWindowRect(m_hWnd, &dialog);
        const int w = dialog.right - dialog.left;
        const int h = dialog.bottom - dialog.top;
        ::SetWindowPos(m_hWnd, nullptr, area.left + (area.right - area.left - w) / 2,
                       area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_placed = true;
    }
    ShowReading();
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::SetForegroundWindow(m_hWnd);
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_FIND_NOTES_TEXT)), TRUE);
}

INT_PTR PFindNotesDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        if (fw::MayChangeLook(msg, wParam, lParam)) {
            fw::RefreshLook();
            FollowLookInList();
        }
        return fw::Dialog::DialogProc(msg, wParam, lParam);
    case WM_ACTIVATE:
        OnActivate(wParam);
        // The dialog manager still keeps and gives back the focus.
        return FALSE;
    default:
        return fw::Dialog::DialogProc(msg, wParam, lParam);
    }
}

BOOL PFindNotesDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_FIND_NOTES_TEXT && HIWORD(wParam) == EN_CHANGE) {
        Search();
        return TRUE;
    }
    return static_cast<BOOL>(fw::Dialog::DialogProc(WM_COMMAND, wParam, lParam));
}

BOOL PFindNotesDlg::OnNotify(const NMHDR& header)
{
    if (header.idFrom != IDC_FIND_NOTES_LIST)
        return FALSE;
    if (header.code == LVN_GETDISPINFOW) {
        OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
        return TRUE;
    }
    if (header.code == NM_DBLCLK) {
        ShowNoteAt(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        return TRUE;
    }
    return FALSE;
}

void PFindNotesDlg::OnActivate(WPARAM wParam)
{
    // Notes change while the dialog is in the background (typed into, made, deleted):
    // the list is brought up to date whenever the user comes back to it.
    if (LOWORD(wParam) != WA_INACTIVE && ::IsWindowVisible(m_hWnd))
        Search();
}

void PFindNotesDlg::OnGetDispInfo(NMLVDISPINFOW& info)
{
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= m_hits.size())
        return;
    const PNoteFinder::Hit& hit = m_hits[static_cast<std::size_t>(item.iItem)];
    m_cellText = fw::WideFromText(item.iSubItem == 0 ? hit.title : hit.line);
    item.pszText = &m_cellText[0];
}

void PFindNotesDlg::OnOK()
{
    ShowNoteAt(SelectedRow());
}

void PFindNotesDlg::Search()
{
    const int selected = SelectedRow();
    const bool listed = selected >= 0 && static_cast<std::size_t>(selected) < m_hits.size();
    PNote* chosen = listed ? m_hits[static_cast<std::size_t>(selected)].note : nullptr;
    const std::wstring typed = fw::WindowText(::GetDlgItem(m_hWnd, IDC_FIND_NOTES_TEXT));
    m_hits.clear();
    // Nothing typed asks for nothing: the list stays empty.
    if (!typed.empty() && HoldsOnlyTextCharacters(typed)) {
        fw::WaitCursor wait;
        m_hits = m_finder.Find(m_host.Notes(), fw::TextFromWide(typed));
    }
    ShowReading();
    HWND list = List();
    ::SendMessageW(list, LVM_SETITEMCOUNT, m_hits.size(), 0);
    ::InvalidateRect(list, nullptr, TRUE);
    if (m_hits.empty())
        return;
    // The note chosen before stays chosen while it is listed; otherwise the first one is,
    // so that Enter shows it.
    const auto kept =
        std::find_if(m_hits.begin(), m_hits.end(), [chosen](const auto& hit) { return hit.note == chosen; });
    SelectRow(list, kept != m_hits.end() ? static_cast<int>(kept - m_hits.begin()) : 0);
}

void PFindNotesDlg::OnAllNotesRead()
{
    ShowReading();
    if (::IsWindowVisible(m_hWnd))
        Search();
}

void PFindNotesDlg::ShowReading()
{
    const bool reading = m_host.Reader().IsReading();
    ::SetDlgItemTextW(m_hWnd, IDC_FIND_NOTES_MORE, reading ? fw::LoadResStringW(IDS_FIND_NOTES_MORE).c_str() : L"");
}

void PFindNotesDlg::ShowNoteAt(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_hits.size())
        return;
    PNote* note = m_hits[static_cast<std::size_t>(row)].note;
    // The note may have been deleted since the list was made.
    const auto& notes = m_host.Notes();
    if (std::none_of(notes.begin(), notes.end(), [note](const auto& listed) { return listed.get() == note; }))
        return;
    const std::wstring typed = fw::WindowText(::GetDlgItem(m_hWnd, IDC_FIND_NOTES_TEXT));
    m_host.BringNoteForward(note, HoldsOnlyTextCharacters(typed) ? fw::TextFromWide(typed) : std::string());
}

int PFindNotesDlg::SelectedRow() const
{
    return static_cast<int>(::SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

HWND PFindNotesDlg::List() const
{
    return ::GetDlgItem(m_hWnd, IDC_FIND_NOTES_LIST);
}

void PFindNotesDlg::FollowLookInList()
{
    const bool dark = fw::CurrentLook() == fw::Look::Dark;
    if (dark == m_listDark)
        return;
    m_listDark = dark;
    const fw::ChromeColours colours = fw::Chrome();
    HWND list = List();
    ::SendMessageW(list, LVM_SETBKCOLOR, 0, dark ? colours.back : m_listBack);
    ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, dark ? colours.back : m_listTextBack);
    ::SendMessageW(list, LVM_SETTEXTCOLOR, 0, dark ? colours.text : m_listText);
    ::InvalidateRect(list, nullptr, TRUE);
}
