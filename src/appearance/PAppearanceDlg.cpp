#include "PAppearanceDlg.h"

#include "../framework/Messages.h"
#include "../core/Schemes.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <cwchar>
#include <iterator>

namespace {

constexpr int kPlaceholders[3] = {IDC_APPEARANCE_BACKGROUND, IDC_APPEARANCE_EDGE, IDC_APPEARANCE_BORDER};

} // namespace

PAppearanceDlg::PAppearanceDlg() : fw::Dialog(IDD_APPEARANCE) {}

BOOL PAppearanceDlg::OnInitDialog()
{
    const COLORREF colours[3] = {m_background, m_edge, m_border};
    for (int i = 0; i < 3; ++i) {
        // The buttons take the places of hidden placeholders in the template.
        HWND placeholder = ::GetDlgItem(m_hWnd, kPlaceholders[i]);
        RECT rect;
        ::GetClientRect(placeholder, &rect);
        ::MapWindowPoints(placeholder, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        // Named by the label before the placeholder, and put where it stood, so that the
        // keyboard reaches it after the scheme and a screen reader says which colour it is.
        HWND label = ::GetWindow(placeholder, GW_HWNDPREV);
        wchar_t name[64] = {};
        if (label != nullptr)
            ::GetWindowTextW(label, name, static_cast<int>(std::size(name)));
        if (wchar_t* colon = std::wcschr(name, L':'))
            *colon = L'\0';
        if (m_buttons[i].Create(rect, m_hWnd, colours[i], name))
            ::SetWindowPos(m_buttons[i].GetHwnd(), placeholder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    HWND combo = ::GetDlgItem(m_hWnd, IDC_APPEARANCE_SCHEME);
    for (int i = 0; i < kListedSchemeCount; ++i) {
        const UINT id = i < kSchemeCount ? IDS_SCHEME_BASE + i : IDS_DARK_SCHEME_BASE + i - kSchemeCount;
        const std::wstring name = fw::LoadResStringW(id);
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    fw::Dialog::OnInitDialog();
    return TRUE;
}

void PAppearanceDlg::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Check(IDC_APPEARANCE_TO_NEW, m_applyToNew);
    exchange.Check(IDC_APPEARANCE_TO_VISIBLE, m_applyToVisible);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_APPEARANCE_SCHEME);
    if (exchange.Saving()) {
        // A dark scheme goes into the note as its colours: older copies know sixteen.
        const LRESULT selected = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        m_scheme = StoredScheme(selected == CB_ERR ? -1 : static_cast<int>(selected));
    } else {
        const int listed = ListedSchemeOf(m_scheme, m_background, m_edge, m_border);
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(listed), 0);
    }
}

INT_PTR PAppearanceDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COLORBUTTON_CHANGED) {
        OnColorChanged();
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_APPEARANCE_SCHEME && HIWORD(wParam) == CBN_SELCHANGE) {
        OnSchemeChanged();
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_APPEARANCE_APPLY) {
        OnApply();
        return TRUE;
    }
    return fw::Dialog::DialogProc(msg, wParam, lParam);
}

void PAppearanceDlg::OnSchemeChanged()
{
    const LRESULT selected = ::SendDlgItemMessageW(m_hWnd, IDC_APPEARANCE_SCHEME, CB_GETCURSEL, 0, 0);
    const ColorScheme* scheme = selected == CB_ERR ? nullptr : ListedScheme(static_cast<int>(selected));
    if (scheme == nullptr)
        return;
    m_background = scheme->background;
    m_edge = scheme->edge;
    m_border = scheme->border;
    m_buttons[0].SetColor(m_background);
    m_buttons[1].SetColor(m_edge);
    m_buttons[2].SetColor(m_border);
}

void PAppearanceDlg::OnColorChanged()
{
    m_background = m_buttons[0].GetColor();
    m_edge = m_buttons[1].GetColor();
    m_border = m_buttons[2].GetColor();
    ::SendDlgItemMessageW(m_hWnd, IDC_APPEARANCE_SCHEME, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void PAppearanceDlg::OnApply()
{
    // What Apply did cannot be taken back: Cancel goes for good.
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    UpdateData(true);
    ::SendMessageW(::GetWindow(m_hWnd, GW_OWNER), WM_APPLY_APPEARANCE, 0, 0);
}
