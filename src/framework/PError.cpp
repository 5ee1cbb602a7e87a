#include "PError.h"

#include "Strings.h"
#include "../res/resource.h"

#include <windows.h>

static_assert(PError::kBoxStyle == (MB_ICONERROR | MB_TOPMOST), "error box style");

namespace {

int __stdcall ShowSystemBox(void* owner, const char* text, const char* caption, unsigned style)
{
    return ::MessageBoxW(static_cast<HWND>(owner), fw::WideFromText(text).c_str(), fw::WideFromText(caption).c_str(),
                         style);
}

PError::BoxFunction g_showBox = &ShowSystemBox;

} // namespace

void PError::SetBoxFunction(BoxFunction show)
{
    g_showBox = show != nullptr ? show : &ShowSystemBox;
}

std::string PError::BoxText(int code)
{
    const std::string message = fw::LoadResString(static_cast<UINT>(code));
    return fw::Format("Error Occurred !\n  Code: %d\n  Message: %s", code, message.c_str());
}

void PError::Raise(int code)
{
    m_code = code;
    const std::string caption = fw::LoadResString(IDS_PRODUCT);
    g_showBox(nullptr, BoxText(code).c_str(), caption.c_str(), kBoxStyle);
    // No destructors run: the failure may have come in the middle of creating a window.
    ::ExitProcess(1);
}
