#pragma once
#include "../framework/Dialog.h"

#include <string>

// Asks for a note's new title. Any text is accepted as typed, an empty one too.
class PTitleDlg : public fw::Dialog {
public:
    PTitleDlg();

    std::string m_title;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
};
