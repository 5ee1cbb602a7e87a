#pragma once
#include "../framework/Wnd.h"

#include <string>

// What a caption button is made from.
struct ButtonSpec {
    UINT commandId = 0;
    UINT bmpNormal = 0;
    UINT bmpHover = 0;
    UINT bmpPressed = 0;
    UINT bmpDisabled = 0; // 0: the normal bitmap
    COLORREF keyColor = 0;
    COLORREF backColor = 0;
    std::string tipText;
};

// A square owner-drawn button (20 x 20 at 96 dpi) that shows one of its bitmaps, in
// the size drawn for its own, on its back colour, with the key colour transparent, and
// a tooltip. A click hands its command to the parent.
class PHoverButton : public fw::Wnd {
public:
    enum State { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

    ~PHoverButton() override;

    bool Create(const RECT& rect, HWND parent, UINT controlId, const ButtonSpec& description);
    void SetBackColor(COLORREF colour);
    // A new tip in another language: the name follows, and the tip is made again with it
    // the next time the pointer comes over.
    void SetTipText(const std::string& text);
    int GetState() const { return m_state; }
    HWND GetTip() const { return m_tip; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    // A button's own making needs nothing of the object: its drawing and its clicks come
    // once it is made.
    bool TakenOverOnceMade() const override { return true; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    void MakeTip(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave();
    void DrawItem(const DRAWITEMSTRUCT& item);
    void OnClicked();
    void DrawNow();
    void Draw(HDC dc);

    UINT m_commandId = 0;
    UINT m_bmpNormal = 0;
    UINT m_bmpHover = 0;
    UINT m_bmpPressed = 0;
    UINT m_bmpDisabled = 0;
    COLORREF m_keyColor = 0;
    COLORREF m_backColor = 0;
    std::string m_tipText;
    bool m_tracking = false;
    HWND m_tip = nullptr;
    int m_state = Normal;
};

// Draws a bitmap at (x, y) leaving the target unchanged wherever the bitmap has the key
// colour. The bitmap itself is left as it was.
void DrawTransparent(HDC target, HBITMAP bitmap, int x, int y, COLORREF keyColor);
