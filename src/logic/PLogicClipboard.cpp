// A note made from what the clipboard holds, by its tray item or its hotkey.
#include "PLogic.h"

#include "../core/TextRules.h"
#include "../framework/Strings.h"
#include "../note/PinvelWnd.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PRichEdit.h"

#include <cstring>
#include <cwchar>

namespace {

struct ClipboardText {
    std::string rtf;
    std::wstring text;
};

ClipboardText ReadClipboard(HWND owner)
{
    ClipboardText held;
    if (!::OpenClipboard(owner))
        return held;
    // Not every program ends what it puts there.
    if (HANDLE data = ::GetClipboardData(::RegisterClipboardFormatW(L"Rich Text Format"))) {
        if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
            held.rtf.assign(bytes, ::strnlen(bytes, ::GlobalSize(data)));
            ::GlobalUnlock(data);
        }
    }
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            held.text.assign(chars, ::wcsnlen(chars, ::GlobalSize(data) / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return held;
}

} // namespace

void PLogic::NewNoteFromClipboard()
{
    const ClipboardText held = ReadClipboard(m_hWnd);
    if (TitleFromText(held.text).empty() && held.rtf.empty()) {
        Tell(fw::LoadResStringW(IDS_CLIPBOARD_EMPTY), false);
        return;
    }
    PinvelWnd* window = NewNoteAndShow();
    if (window == nullptr)
        return;
    PRichEdit* edit = window->GetEditor();
    // The rich text when it fits whole; else the text, held to the note's limit as a
    // paste is.
    if (held.rtf.empty() || !edit->StreamInText(held.rtf, true)) {
        edit->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        edit->SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(held.text.c_str()));
    }
    // Saved like typing: within the minute, and when it is hidden.
    edit->SendMessage(EM_SETMODIFY, TRUE);
    const std::wstring title = TitleFromText(held.text.empty() ? fw::WindowText(edit->GetHwnd()) : held.text);
    if (!title.empty())
        window->GetNote()->SetTitle(fw::TextFromWideKeepingAll(title));
}
