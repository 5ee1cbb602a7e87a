#pragma once
#include "../framework/Dialog.h"

#include <string>

// The Find dialog: the text to find, two options and the direction.
class PFindDlg : public fw::Dialog {
public:
    PFindDlg();

    std::string m_text;
    bool m_matchCase = false;
    bool m_wholeWord = false;
    bool m_down = true;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& exchange) override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
