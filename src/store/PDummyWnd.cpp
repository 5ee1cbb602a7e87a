#include "PDummyWnd.h"

#include "../framework/PError.h"
#include "../res/resource.h"

bool PDummyWnd::Create(HWND parent)
{
    if (!fw::RegisterClassOnce("PCN_DUMMY", 0, 0, nullptr, nullptr))
        return false;
    if (!TryCreate(parent))
        g_error.Raise(ERR_CREATE_DUMMY_WND);
    return true;
}

bool PDummyWnd::TryCreate(HWND parent)
{
    if (!fw::RegisterClassOnce("PCN_DUMMY", 0, 0, nullptr, nullptr))
        return false;
    const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
    return CreateEx(0, "PCN_DUMMY", "Dummy", style, 0, 0, 1, 1, parent, nullptr);
}
