// What the editor does to text typed or pasted in beyond what the control does itself.
#include "PRichEdit.h"


#include <cwchar>

namespace {

// The clipboard's Unicode text, empty when it holds none or cannot be opened.
std::wstring ClipboardText(HWND owner)
{
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT) || !::OpenClipboard(owner))
        return std::wstring();
    std::wstring text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            // Not every program ends what it puts there.
            text.assign(chars, ::wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

} // namespace

void PRichEdit::PastePlainText()
{
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0) {
        ::MessageBeep(MB_OK);
        return;
    }
    const std::wstring text = ClipboardText(m_hWnd);
    if (text.empty())
        return;
    // Replaced as typing would be: undone in one step, and held to the control's limit.
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}
