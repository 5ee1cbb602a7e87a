#pragma once
#include <windows.h>

// What the system asks of the program's own drawing: high contrast, which every picture
// the program paints must follow with the system's colours, and the dark look that
// Windows asks applications for. The program paints its menus, captions and notes
// itself, so nothing of this reaches them unless they ask here.
namespace fw {

enum class Look { Light, Dark, HighContrast };

// High contrast wins over dark: a user who needs it must get it wherever they are.
Look CurrentLook();
bool HighContrastOn();
bool AppsUseDark();

// Read again after the system said a setting changed; true when the look is not what it
// was. Every top-level window hears WM_SETTINGCHANGE and WM_SYSCOLORCHANGE: the first to
// ask refreshes the answer for all.
bool RefreshLook();
// Whether a message may have changed the look: a setting change naming high contrast or
// the colour set, or a change of the system colours.
bool MayChangeLook(UINT msg, WPARAM wParam, LPARAM lParam);

// The colours of what the program draws for itself around the notes: menus, tooltips,
// the find-notes window and its own dialogs.
struct ChromeColours {
    COLORREF back;
    COLORREF text;
    COLORREF selectedBack;
    COLORREF selectedText;
    COLORREF grayText;
    COLORREF checkedBox;
    COLORREF checkedBoxSelected;
    COLORREF light;  // the lit edge of a raised frame
    COLORREF shadow; // its shaded edge
    // Disabled text pressed into the face with the two edges; otherwise in grayText.
    bool embossDisabled;
};
ChromeColours Chrome();

// Tests and benchmarks stand in for the system where it cannot be told (Wine keeps no
// high-contrast setting): -1 asks the system again.
void SetHighContrastForTest(int on);

} // namespace fw
