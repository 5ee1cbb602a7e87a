#pragma once
#include "../framework/Wnd.h"

// A push button that shows a colour swatch and, when clicked, lets the user pick a new
// colour in the colour dialog; it then tells its parent with WM_COLORBUTTON_CHANGED.
class PColorButton : public fw::Wnd {
public:
    ~PColorButton() override;

    bool Create(const RECT& rect, HWND parent, COLORREF colour, const wchar_t* name = nullptr);
    COLORREF GetColor() const { return m_colour; }
    // Takes the colour and redraws the swatch.
    void SetColor(COLORREF colour);

    // Tests replace the colour dialog.
    using ChooseFunction = bool (*)(HWND owner, COLORREF& colour);
    static void SetChooseFunction(ChooseFunction function);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void DrawSwatch();
    void OnClicked();

    COLORREF m_colour = RGB(0, 0, 255);
};
