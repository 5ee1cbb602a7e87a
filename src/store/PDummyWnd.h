#pragma once
#include "../framework/Wnd.h"

// The invisible 1 x 1 window that holds a note's rich-edit control while the note has
// no window on screen.
class PDummyWnd : public fw::Wnd {
public:
    ~PDummyWnd() override = default;

    // Returns false when the window class cannot be registered; a failed creation is
    // fatal.
    bool Create(HWND parent);
    // The same, but a failed creation is only reported: false.
    bool TryCreate(HWND parent);
};
