#include "PRichEdit.h"

#include "../framework/Messages.h"
#include "../framework/PError.h"
#include "../core/TextRules.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"

#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// Loaded by the first editor and kept for the life of the process.
HMODULE g_richEditLibrary = nullptr;

void ShellOpen(const std::string& target)
{
    ::ShellExecuteW(nullptr, L"open", fw::WideFromText(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

PRichEdit::LinkOpener g_linkOpener = &ShellOpen;

constexpr DWORD kEditStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
constexpr DWORD kFontMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE | CFM_CHARSET;
constexpr int kDefaultHeightTwips = 240;
constexpr LONG kBoldWeight = 700;
constexpr LONG kNormalWeight = 400;

WPARAM ScopeFlags(PRichEdit::Scope scope)
{
    switch (scope) {
    case PRichEdit::Scope::WholeText: return SCF_ALL;
    case PRichEdit::Scope::Selection: return SCF_SELECTION | SCF_WORD;
    default: return SCF_DEFAULT;
    }
}

CHARFORMAT2W EmptyFormat()
{
    CHARFORMAT2W cf;
    std::memset(&cf, 0, sizeof(cf));
    cf.cbSize = sizeof(cf);
    return cf;
}

} // namespace

void PRichEdit::SetLinkOpener(LinkOpener opener)
{
    g_linkOpener = opener != nullptr ? opener : &ShellOpen;
}

namespace {

bool LoadRichEditLibrary()
{
    if (g_richEditLibrary == nullptr)
        g_richEditLibrary = ::LoadLibraryW(L"RICHED20.DLL");
    return g_richEditLibrary != nullptr;
}

} // namespace

bool PRichEdit::Create(DWORD extraStyle, const RECT& rect, HWND parent)
{
    if (!LoadRichEditLibrary())
        return false;
    return CreateEx(0, "RichEdit20W", nullptr, extraStyle | kEditStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, nullptr);
}

void PRichEdit::CheckAvailable(HWND parent)
{
    if (!LoadRichEditLibrary())
        g_error.Raise(ERR_LOAD_RICHEDIT);
    PRichEdit probe;
    const RECT rect = {0, 0, 1, 1};
    if (!probe.Create(0, rect, parent))
        g_error.Raise(ERR_CREATE_RICHEDIT);
}

namespace {

constexpr int kNoZoomKey = 2;

// Ctrl with plus, minus or 0, on the main keys or the keypad, and no Alt (AltGr types).
int ZoomKeyDirection(WPARAM key)
{
    if (::GetKeyState(VK_CONTROL) >= 0 || ::GetKeyState(VK_MENU) < 0)
        return kNoZoomKey;
    switch (key) {
    case VK_OEM_PLUS:
    case VK_ADD:
        return 1;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        return -1;
    case '0':
    case VK_NUMPAD0:
        return 0;
    default:
        return kNoZoomKey;
    }
}

} // namespace

LRESULT PRichEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_CHAR:
        // A key done with (Ctrl+- zoomed, Enter went on with a list) types a control
        // character of its own after it.
        if (m_keyTaken && wParam < 0x20) {
            m_keyTaken = false;
            return 0;
        }
        if (OnListChar(wParam))
            return 0;
        return DefWindowProc(msg, wParam, lParam);
    case WM_LBUTTONDOWN:
        if (OnListClick(lParam))
            return 0;
        return DefWindowProc(msg, wParam, lParam);
    case WM_SETCURSOR:
        ::SendMessageW(::GetParent(m_hWnd), WM_NOTE_POINTER, 0, 0);
        return DefWindowProc(msg, wParam, lParam);
    case WM_MOUSEWHEEL:
        // Ctrl+wheel zooms the whole note the way its window keeps, not the control's way.
        if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0 &&
            ::SendMessageW(::GetParent(m_hWnd), WM_NOTE_ZOOM, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1, 0) != 0)
            return 0;
        return DefWindowProc(msg, wParam, lParam);
    case EM_EXLIMITTEXT:
        // Zero is the control's own default of 64K characters.
        m_limit = lParam > 0 ? lParam : 0x10000;
        return DefWindowProc(msg, wParam, lParam);
    default:
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT PRichEdit::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    m_streamPos = 0;
    m_streamOut = nullptr;
    m_streamIn = std::string_view();
    SendMessage(EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION | ECO_AUTOVSCROLL | ECO_AUTOHSCROLL | ECO_NOHIDESEL);
    // The text mode can only change while the control is empty.
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    SendMessage(EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE);
    SendMessage(EM_EXLIMITTEXT, 0, kTextLimit);
    ::DragAcceptFiles(m_hWnd, TRUE);
    const LRESULT mask = SendMessage(EM_GETEVENTMASK);
    SendMessage(EM_SETEVENTMASK, 0, mask | ENM_DROPFILES | ENM_LINK | ENM_CHANGE);
    SendMessage(EM_AUTOURLDETECT, TRUE);
    // The control's own default comes from the system font, which is bold on a Western
    // Windows: a stored RTF text that says nothing of bold would come back bold there,
    // and be saved so.
    ApplyDefaultFont(Scope::ControlDefault);
    SetDefaultFont();
    return 0;
}

LRESULT PRichEdit::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    m_keyTaken = false;
    const int zoom = ZoomKeyDirection(wParam);
    if (zoom != kNoZoomKey && ::SendMessageW(::GetParent(m_hWnd), WM_NOTE_ZOOM, static_cast<WPARAM>(zoom), 0) != 0) {
        m_keyTaken = true;
        return 0;
    }
    // Ctrl+Shift+V goes to the note, which knows whether its text may change.
    if (wParam == 'V' && ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_SHIFT) < 0 && ::GetKeyState(VK_MENU) >= 0) {
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_NOTE_PASTE_PLAIN, 0);
        return 0;
    }
    if (OnListKey(wParam)) {
        m_keyTaken = true;
        return 0;
    }
    // Escape puts the note away, as it closes a dialog; the hide saves first, as always.
    if (wParam == VK_ESCAPE && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0) {
        m_keyTaken = true;
        ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_NOTE_HIDE, 0);
        return 0;
    }
    if (wParam == VK_F3) {
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, shift ? ID_EDIT_FIND_PREV : ID_EDIT_FIND_NEXT, 0);
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

bool PRichEdit::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // Told to whichever window the control was made in: its owner or its note.
    if (msg == WM_COMMAND) {
        if (HIWORD(wParam) == EN_CHANGE)
            OnTextChanged();
        else if (HIWORD(wParam) == EN_MAXTEXT)
            OnTextFull();
        else
            return false;
        result = 0;
        return true;
    }
    if (msg != WM_NOTIFY)
        return false;
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
    if (header.code == EN_LINK) {
        OnLink(*reinterpret_cast<const ENLINK*>(lParam));
    } else if (header.code == EN_DROPFILES) {
        OnDropFiles(*reinterpret_cast<const ENDROPFILES*>(lParam));
    } else {
        return false;
    }
    // The control goes on with its own handling of the mouse, and inserts no files.
    result = 0;
    return true;
}

void PRichEdit::OnLink(const ENLINK& link)
{
    if (link.msg != WM_LBUTTONUP)
        return;
    CHARRANGE range = link.chrg;
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const std::string target = LinkToOpen(GetSelectedText());
    if (!target.empty())
        g_linkOpener(target);
}

void PRichEdit::OnDropFiles(const ENDROPFILES& drop)
{
    // A read-only text (a locked note, one not read whole) takes no file.
    if ((::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0)
        return;
    const HDROP files = static_cast<HDROP>(drop.hDrop);
    const UINT length = ::DragQueryFileW(files, 0, nullptr, 0);
    if (length == 0)
        return;
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(files, 0, &path[0], length + 1));
    fw::WaitCursor wait;
    ImportFile(path);
}

void PRichEdit::SetDefaultFont()
{
    ApplyDefaultFont(Scope::WholeText);
}

void PRichEdit::ApplyDefaultFont(Scope scope)
{
    LOGFONTW font;
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = kDefaultHeightTwips;
    font.lfWeight = kNormalWeight;
    ::lstrcpynW(font.lfFaceName, L"Times New Roman", LF_FACESIZE);
    SetTextFont(font, scope);
    SetTextColor(RGB(0, 0, 0), scope);
}

LRESULT PRichEdit::SetTextFont(const LOGFONTW& font, Scope scope)
{
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = kFontMask;
    cf.yHeight = std::labs(font.lfHeight);
    // Only the exact bold weight counts: 600 and 800 stay normal.
    if (font.lfWeight == kBoldWeight)
        cf.dwEffects |= CFE_BOLD;
    if (font.lfItalic != 0)
        cf.dwEffects |= CFE_ITALIC;
    if (font.lfUnderline != 0)
        cf.dwEffects |= CFE_UNDERLINE;
    if (font.lfStrikeOut != 0)
        cf.dwEffects |= CFE_STRIKEOUT;
    cf.bCharSet = font.lfCharSet;
    cf.bPitchAndFamily = font.lfPitchAndFamily;
    std::memcpy(cf.szFaceName, font.lfFaceName, sizeof(cf.szFaceName));
    cf.szFaceName[LF_FACESIZE - 1] = L'\0';
    return SendMessage(EM_SETCHARFORMAT, ScopeFlags(scope), reinterpret_cast<LPARAM>(&cf));
}

void PRichEdit::GetSelectionFont(LOGFONTW& font) const
{
    CHARFORMAT2W cf = EmptyFormat();
    SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    std::memset(&font, 0, sizeof(font));
    font.lfHeight = cf.yHeight;
    font.lfWeight = (cf.dwEffects & CFE_BOLD) != 0 ? kBoldWeight : kNormalWeight;
    font.lfItalic = (cf.dwEffects & CFE_ITALIC) != 0 ? 1 : 0;
    font.lfUnderline = (cf.dwEffects & CFE_UNDERLINE) != 0 ? 1 : 0;
    font.lfStrikeOut = (cf.dwEffects & CFE_STRIKEOUT) != 0 ? 1 : 0;
    font.lfCharSet = cf.bCharSet;
    font.lfPitchAndFamily = cf.bPitchAndFamily;
    std::memcpy(font.lfFaceName, cf.szFaceName, sizeof(font.lfFaceName));
    font.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

COLORREF PRichEdit::GetSelectionColor() const
{
    CHARFORMAT2W cf = EmptyFormat();
    SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return cf.crTextColor;
}

LRESULT PRichEdit::SetTextColor(COLORREF colour, Scope scope)
{
    // Effects 0 switches the automatic colour off.
    CHARFORMAT2W cf = EmptyFormat();
    cf.dwMask = CFM_COLOR;
    cf.crTextColor = colour;
    return SendMessage(EM_SETCHARFORMAT, ScopeFlags(scope), reinterpret_cast<LPARAM>(&cf));
}

void PRichEdit::SetBackground(COLORREF colour)
{
    if (colour == m_background)
        return;
    SendMessage(EM_SETBKGNDCOLOR, 0, colour);
    m_background = colour;
}

bool PRichEdit::StreamOutText(std::string& text, bool asRtf)
{
    if (asRtf)
        return StreamOut(text, SF_RTF);
    // Plain text leaves as UTF-16 and is put into the program's code page here: the
    // control itself would use the system's.
    std::wstring marked;
    const bool whole = StreamOutPlain(marked);
    try {
        text = fw::TextFromWide(marked.data(), marked.size());
    } catch (...) {
        text.clear();
        return false;
    }
    return whole;
}

bool PRichEdit::StreamOutPlain(std::wstring& text)
{
    std::string wide;
    const bool whole = StreamOut(wide, SF_TEXT | SF_UNICODE);
    try {
        text = PlainFromMarks(
            std::wstring_view(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t)));
    } catch (...) {
        text.clear();
        return false;
    }
    return whole;
}

bool PRichEdit::StreamInText(std::string_view text, bool asRtf)
{
    if (asRtf)
        return StreamIn(text, SF_RTF);
    const std::wstring plain = fw::WideFromText(text);
    return StreamInPlain(plain) && (text.empty() || !plain.empty());
}

bool PRichEdit::StreamInPlain(const std::wstring& plain)
{
    const std::wstring wide = MarksFromPlain(plain);
    const bool whole = StreamIn(
        std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)),
        SF_TEXT | SF_UNICODE);
    SetDefaultFont();
    if (wide.find_first_of(L"\u2610\u2611") != std::wstring::npos)
        DressAllMarks();
    return whole;
}

bool PRichEdit::StreamOut(std::string& bytes, WPARAM format)
{
    bytes.clear();
    m_streamOut = &bytes;
    m_streamFailed = false;
    m_streamPos = 0;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(this);
    stream.pfnCallback = &PRichEdit::StreamOutCallback;
    SendMessage(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    m_streamOut = nullptr;
    return !m_streamFailed && stream.dwError == 0;
}

bool PRichEdit::StreamIn(std::string_view bytes, WPARAM format)
{
    // Nothing is a whole, empty text; the control would call it damaged RTF.
    if (bytes.empty()) {
        SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        return true;
    }
    m_streamIn = bytes;
    m_streamPos = 0;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(this);
    stream.pfnCallback = &PRichEdit::StreamInCallback;
    SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    m_streamIn = std::string_view();
    // At its limit the control stops taking text without reporting an error; Wine's
    // grows its limit instead, which is set back here.
    const bool whole = stream.dwError == 0 && TextRoom() == Room::Left;
    SendMessage(EM_EXLIMITTEXT, 0, m_limit);
    return whole;
}

LRESULT PRichEdit::TextLength() const
{
    GETTEXTLENGTHEX length = {GTL_NUMCHARS, 1200};
    return SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length));
}

PRichEdit::Room PRichEdit::TextRoom() const
{
    const LRESULT length = TextLength();
    if (length < m_limit)
        return Room::Left;
    return length == m_limit ? Room::Full : Room::Over;
}

// The control may tell of a change after a load has ended; a text cut short on loading
// is read-only and already says so on its note.
bool PRichEdit::IsUsersChange() const
{
    return !InStream() && (::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) == 0;
}

// A note takes no more than it can save and read back. A text being loaded or imported
// says so in its own way.
void PRichEdit::OnTextChanged()
{
    if (!IsUsersChange())
        return;
    const Room room = TextRoom();
    if (room == Room::Left) {
        m_toldFull = false;
        return;
    }
    if (room == Room::Over) {
        // The paste that went over is taken back whole.
        SendMessage(EM_UNDO);
        SendMessage(EM_EXLIMITTEXT, 0, m_limit);
    }
    OnTextFull();
}

// Typing or pasting past what a note can hold: the rest is not taken, and the user is
// told why, once until the text is shorter again.
void PRichEdit::OnTextFull()
{
    if (!IsUsersChange() || m_toldFull)
        return;
    m_toldFull = true;
    fw::ShowMessage(::GetAncestor(m_hWnd, GA_ROOT),
                    fw::Format(fw::LoadResString(IDS_NOTE_FULL).c_str(), static_cast<int>(kTextLimit)),
                    MB_OK | MB_ICONEXCLAMATION);
}

DWORD CALLBACK PRichEdit::StreamOutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* self = reinterpret_cast<PRichEdit*>(cookie);
    // The control is not ours to unwind through: a text that cannot be held ends the
    // stream with an error instead.
    try {
        self->m_streamOut->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    } catch (...) {
        self->m_streamFailed = true;
        *done = 0;
        return 1;
    }
    self->m_streamPos += static_cast<std::size_t>(count);
    *done = count;
    return 0;
}

DWORD CALLBACK PRichEdit::StreamInCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* self = reinterpret_cast<PRichEdit*>(cookie);
    const std::string_view source = self->m_streamIn;
    const std::size_t left = source.size() - self->m_streamPos;
    const std::size_t take = left < static_cast<std::size_t>(count) ? left : static_cast<std::size_t>(count);
    std::memcpy(buffer, source.data() + self->m_streamPos, take);
    self->m_streamPos += take;
    *done = static_cast<LONG>(take);
    return 0;
}

std::string PRichEdit::GetSelectedText() const
{
    CHARRANGE range = {};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const long length = range.cpMax > range.cpMin ? range.cpMax - range.cpMin : 0;
    if (length == 0)
        return std::string();
    // The control is told how many bytes it may write; a character outside the basic
    // plane takes two units.
    std::wstring buffer(static_cast<std::size_t>(length) * 2 + 1, L'\0');
    GETTEXTEX request = {};
    request.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    request.flags = GT_SELECTION;
    request.codepage = 1200;
    const LRESULT copied =
        SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(&buffer[0]));
    buffer.resize(copied > 0 ? std::wcslen(buffer.c_str()) : 0);
    return fw::TextFromWide(buffer);
}
