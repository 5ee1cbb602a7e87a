#include "PFindDlg.h"

#include "../res/resource.h"

PFindDlg::PFindDlg() : fw::Dialog(IDD_FIND) {}

BOOL PFindDlg::OnInitDialog()
{
    fw::Dialog::OnInitDialog();
    ::SendMessageW(::GetDlgItem(m_hWnd, m_down ? IDC_FIND_DOWN : IDC_FIND_UP), BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void PFindDlg::DoDataExchange(fw::DataExchange& exchange)
{
    // The direction is not exchanged: the radio buttons set it when clicked.
    exchange.Text(IDC_FIND_TEXT, m_text);
    exchange.Check(IDC_FIND_MATCH_CASE, m_matchCase);
    exchange.Check(IDC_FIND_WHOLE_WORD, m_wholeWord);
}

INT_PTR PFindDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDC_FIND_UP) {
            m_down = false;
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_FIND_DOWN) {
            m_down = true;
            return TRUE;
        }
    }
    return fw::Dialog::DialogProc(msg, wParam, lParam);
}
