#pragma once
#include "../framework/Dialog.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"

#include <string>

// About Pinvel: a modeless dialog made when first asked for and kept hidden after, white with a dark-blue version
// line, that stays above the notes while it is shown.
class PAboutDlg : public fw::Dialog {
public:
    PAboutDlg();

    // Centres the dialog on the desktop, shows it with the folder the notes are kept in
    // and brings it to the front.
    void Show(const std::wstring& notesFolder);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& exchange) override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_notice;
    fw::Brush m_background;
    COLORREF m_backgroundColour = 0;
    fw::DialogPictures m_pictures;
};
