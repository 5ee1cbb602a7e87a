#pragma once
#include "Gdi.h"

// The dark look beyond what the program draws itself: the title bars and the system's
// controls in its own dialogs and tips, where the running Windows offers them, and the
// brushes its dialogs paint with while dark. Where Windows offers nothing (before 1809,
// under Wine) every call here does nothing and the system draws as it always did.
namespace fw {

// Once before the first window: lets the system draw its parts of the program dark.
void AllowDarkMode();
// After the look changed: the system's menus of the program are made again.
void FlushDarkMenus();

// A top-level window's title bar follows the current look. In the light look a window
// never made dark is left untouched.
void FollowLookInTitleBar(HWND window, bool changed);
// A control the system draws (tooltip, list view, push button) follows the current look.
void FollowLookInControl(HWND control, bool changed);
// The controls of a dialog, each as its class wants.
void FollowLookInControls(HWND dialog, bool changed);

// What a dialog paints its face, its texts and its fields with while dark, held for the
// dialog's life. In the light look it holds nothing and answers nothing, so that not one
// pixel differs from what the system draws.
class DialogColours {
public:
    // The brush for a WM_CTLCOLOR... message, its colours set into the device context;
    // null to leave the message to the system.
    HBRUSH Answer(UINT msg, HDC dc);
    // Fills the dialog's face while dark; false in the light look. A property page's face
    // is the tab's, painted from the theme without asking for the dialog's colour.
    bool Erase(HWND dialog, HDC dc);
    // The dialog's title bar and system-drawn controls follow the look: when it starts,
    // and again whenever the system may have changed it (the dialog is then repainted).
    void FollowInFrame(HWND dialog);
    void OnLookMayHaveChanged(HWND dialog);

private:
    bool m_framed = false;
    bool m_frameDark = false;
    Brush m_face;
    Brush m_field;
};

} // namespace fw
