// Find in a note's text. The search state belongs to the open window and goes with it.
#include "PinvelWnd.h"

#include "../core/TextRules.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../text/PFindDlg.h"
#include "../text/PRichEdit.h"

#include <richedit.h>

void PinvelWnd::ShowFindDialog()
{
    PFindDlg dialog;
    // A selected word is the new search text even when the dialog is cancelled.
    const std::string selected = m_edit->GetSelectedText();
    if (!selected.empty())
        m_findText = selected;
    dialog.m_text = m_findText;
    dialog.m_matchCase = m_matchCase;
    dialog.m_wholeWord = m_wholeWord;
    dialog.m_down = m_searchDown;
    INT_PTR result = IDCANCEL;
    {
        ModalScope modal(*this);
        result = dialog.DoModal(nullptr);
    }
    if (result != IDOK || Closed())
        return;
    m_findText = dialog.m_text;
    m_matchCase = dialog.m_matchCase;
    m_wholeWord = dialog.m_wholeWord;
    m_searchDown = dialog.m_down;
    if (m_findText.empty())
        return;
    Find(m_searchDown, 0);
}

void PinvelWnd::FindNext()
{
    if (!m_findText.empty())
        Find(true, 0);
}

void PinvelWnd::FindPrevious()
{
    if (!m_findText.empty())
        Find(false, 0);
}

void PinvelWnd::Find(bool down, DWORD flags)
{
    if (m_matchCase)
        flags |= FR_MATCHCASE;
    if (m_wholeWord)
        flags |= FR_WHOLEWORD;
    if (down)
        flags |= FR_DOWN;
    CHARRANGE selection = {};
    m_edit->SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const std::wstring text = fw::WideFromText(m_findText);
    FINDTEXTEXW find = {};
    find.chrg = down ? CHARRANGE{selection.cpMax, -1} : CHARRANGE{selection.cpMin, 0};
    find.lpstrText = text.c_str();
    const LRESULT found = m_edit->SendMessage(EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find));
    if (found == -1) {
        ReportNotFound();
        return;
    }
    m_edit->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
}

void PinvelWnd::ShowFound(const std::string& words)
{
    if (words.empty())
        return;
    m_findText = words;
    m_matchCase = false;
    m_wholeWord = false;
    m_searchDown = true;
    const std::wstring text = fw::WideFromText(words);
    FINDTEXTEXW find = {};
    find.chrg = CHARRANGE{0, -1};
    find.lpstrText = text.c_str();
    if (m_edit->SendMessage(EM_FINDTEXTEX, FR_DOWN, reinterpret_cast<LPARAM>(&find)) == -1)
        return;
    m_edit->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    m_edit->SendMessage(EM_SCROLLCARET);
}

void PinvelWnd::ReportNotFound()
{
    const std::string shown = NotFoundShownText(m_findText, &fw::IsTextLeadByte);
    ModalScope modal(*this);
    fw::ShowMessage(m_hWnd, fw::Format(fw::LoadResString(IDS_FIND_NOT_FOUND).c_str(), shown.c_str()),
                    MB_OK | MB_ICONINFORMATION);
}
