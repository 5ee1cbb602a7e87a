#pragma once
#include "PColorButton.h"
#include "../framework/Dialog.h"

#include <array>

// The appearance dialog of one note: a scheme from the table, or three colours one by
// one, and whether the look goes to every open note and to new notes.
class PAppearanceDlg : public fw::Dialog {
public:
    PAppearanceDlg();

    bool m_applyToNew = false;
    bool m_applyToVisible = false;
    int m_scheme = -1;
    COLORREF m_background = 0;
    COLORREF m_edge = 0;
    COLORREF m_border = 0;

    PColorButton& Button(int index) { return m_buttons[index]; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::DataExchange& exchange) override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnSchemeChanged();
    void OnColorChanged();
    void OnApply();

    std::array<PColorButton, 3> m_buttons;
};
