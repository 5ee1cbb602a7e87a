// Check lists and bullets inside the note's rich text: a box or a bullet is a character
// at the start of its paragraph, so the note file and an RTF export keep it as it is,
// and any rich-text program shows it. Everything here is done with the control's own
// edits, which are undone like typing; nothing streams the text again.
#include "PRichEdit.h"

#include "../core/ListRules.h"
#include "../framework/Strings.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// A font that holds the box characters: Windows 7 and later have the first on every
// language version; the others stand in elsewhere.
constexpr const wchar_t* kMarkFaces[] = {L"Segoe UI Symbol", L"DejaVu Sans", L"Arial Unicode MS", L"MS Gothic"};
// The indent of a wrapped line of an item, so that it starts under the item's text.
constexpr LONG kHangingTwips = 280;

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

const wchar_t* MarkFace()
{
    static const wchar_t* face = [] {
        HDC dc = ::GetDC(nullptr);
        const wchar_t* chosen = nullptr;
        for (const wchar_t* candidate : kMarkFaces) {
            LOGFONTW font = {};
            font.lfCharSet = DEFAULT_CHARSET;
            ::wcsncpy(font.lfFaceName, candidate, LF_FACESIZE - 1);
            bool found = false;
            ::EnumFontFamiliesExW(dc, &font, &NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
            if (found) {
                chosen = candidate;
                break;
            }
        }
        ::ReleaseDC(nullptr, dc);
        return chosen;
    }();
    return face;
}

bool ControlDown()
{
    return ::GetKeyState(VK_CONTROL) < 0 && ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0;
}

bool NoModifiers()
{
    return ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0 && ::GetKeyState(VK_SHIFT) >= 0;
}

} // namespace

bool PRichEdit::IsReadOnly() const
{
    return (::GetWindowLongW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0;
}

LONG PRichEdit::CharCount() const
{
    GETTEXTLENGTHEX length = {GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<LONG>(SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)));
}

std::wstring PRichEdit::TextRange(LONG from, LONG to) const
{
    if (to <= from)
        return std::wstring();
    std::wstring text(static_cast<std::size_t>(to - from) + 1, L'\0');
    TEXTRANGEW range = {{from, to}, &text[0]};
    text.resize(static_cast<std::size_t>(SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range))));
    return text;
}

CHARRANGE PRichEdit::Selection() const
{
    CHARRANGE selection = {};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    return selection;
}

void PRichEdit::Select(LONG from, LONG to)
{
    CHARRANGE range = {from, to};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

LONG PRichEdit::ParagraphStart(LONG at) const
{
    auto line = SendMessage(EM_EXLINEFROMCHAR, 0, at);
    for (;;) {
        const auto start = static_cast<LONG>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line)));
        // A line that starts after a wrap belongs to the paragraph above it.
        if (start <= 0 || line <= 0 || TextRange(start - 1, start) == L"\r")
            return start < 0 ? 0 : start;
        --line;
    }
}

LONG PRichEdit::ParagraphEnd(LONG at) const
{
    const LONG count = CharCount();
    auto line = SendMessage(EM_EXLINEFROMCHAR, 0, at);
    for (;;) {
        const auto start = static_cast<LONG>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line)));
        if (start < 0)
            return count;
        const LONG end = start + static_cast<LONG>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(start)));
        if (end >= count || TextRange(end, end + 1) == L"\r")
            return end;
        ++line;
    }
}

void PRichEdit::FormatRange(LONG from, LONG to, const CHARFORMAT2W& format)
{
    const CHARRANGE kept = Selection();
    Select(from, to);
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    Select(kept.cpMin, kept.cpMax);
}

void PRichEdit::DressMark(LONG start, ListMark mark)
{
    CHARFORMAT2W font = {};
    font.cbSize = sizeof(font);
    if (const wchar_t* face = MarkFace()) {
        font.dwMask = CFM_FACE | CFM_CHARSET | CFM_STRIKEOUT;
        font.bCharSet = DEFAULT_CHARSET;
        ::wcsncpy(font.szFaceName, face, LF_FACESIZE - 1);
    } else {
        font.dwMask = CFM_STRIKEOUT;
    }
    FormatRange(start, start + 1, font);
    // A done item's text is struck through; the box itself never is.
    CHARFORMAT2W strike = {};
    strike.cbSize = sizeof(strike);
    strike.dwMask = CFM_STRIKEOUT;
    strike.dwEffects = mark == ListMark::Done ? CFE_STRIKEOUT : 0;
    FormatRange(start + 1, ParagraphEnd(start), strike);
    // A wrapped line of an item starts under its text, not under its mark.
    PARAFORMAT2 indent = {};
    indent.cbSize = sizeof(indent);
    indent.dwMask = PFM_STARTINDENT | PFM_OFFSET;
    indent.dxStartIndent = 0;
    indent.dxOffset = mark == ListMark::None ? 0 : kHangingTwips;
    const CHARRANGE kept = Selection();
    Select(start, start);
    SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&indent));
    Select(kept.cpMin, kept.cpMax);
}

void PRichEdit::SetMark(LONG start, ListMark mark)
{
    const ListMark old = MarkOf(TextRange(start, start + static_cast<LONG>(kMarkLength)));
    if (old == mark)
        return;
    const CHARRANGE kept = Selection();
    const LONG oldLength = old == ListMark::None ? 0 : static_cast<LONG>(kMarkLength);
    const LONG newLength = mark == ListMark::None ? 0 : static_cast<LONG>(kMarkLength);
    const wchar_t text[] = {MarkCharacter(mark), L' ', 0};
    Select(start, start + oldLength);
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(mark == ListMark::None ? L"" : text));
    DressMark(start, mark);
    // The caret keeps its place in the item's text.
    const auto moved = [&](LONG at) { return at < start + oldLength ? std::max(start, at) : at - oldLength + newLength; };
    Select(moved(kept.cpMin), moved(kept.cpMax));
}

ListMark PRichEdit::MarkAt(LONG paragraphStart) const
{
    return MarkOf(TextRange(paragraphStart, paragraphStart + static_cast<LONG>(kMarkLength)));
}

void PRichEdit::ToggleItemAtCaret()
{
    if (IsReadOnly())
        return;
    const LONG start = ParagraphStart(Selection().cpMin);
    const ListMark mark = MarkAt(start);
    SetMark(start, mark == ListMark::Open ? ListMark::Done : ListMark::Open);
}

void PRichEdit::ToggleList(ListMark kind)
{
    if (IsReadOnly())
        return;
    const CHARRANGE selection = Selection();
    std::vector<LONG> starts;
    for (LONG at = ParagraphStart(selection.cpMin);;) {
        starts.push_back(at);
        const LONG end = ParagraphEnd(at);
        if (end >= selection.cpMax || end >= CharCount())
            break;
        at = end + 1;
    }
    const auto isKind = [&](LONG start) {
        const ListMark mark = MarkAt(start);
        return kind == ListMark::Bullet ? mark == ListMark::Bullet : mark == ListMark::Open || mark == ListMark::Done;
    };
    bool all = true;
    for (LONG start : starts)
        all = all && isKind(start);
    // From the last paragraph up, so that the starts above stay where they are.
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        if (all)
            SetMark(*it, ListMark::None);
        else if (!isKind(*it))
            SetMark(*it, kind);
    }
}

bool PRichEdit::OnListChar(WPARAM ch)
{
    if (ch != L' ' || IsReadOnly() || !NoModifiers())
        return false;
    const CHARRANGE selection = Selection();
    if (selection.cpMin != selection.cpMax)
        return false;
    const LONG start = std::max<LONG>(0, selection.cpMin - 3);
    const std::wstring before = TextRange(start, selection.cpMin);
    // Only the whole start of a paragraph counts: the three characters before the caret
    // are looked at, and what makes a mark must begin a paragraph.
    for (std::size_t skip = 0; skip < before.size(); ++skip) {
        const ListMark mark = MarkTypedAs(std::wstring_view(before).substr(skip));
        if (mark == ListMark::None)
            continue;
        const LONG from = start + static_cast<LONG>(skip);
        if (from != ParagraphStart(from) || from != ParagraphStart(selection.cpMin))
            return false;
        const wchar_t text[] = {MarkCharacter(mark), L' ', 0};
        Select(from, selection.cpMin);
        SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
        DressMark(from, mark);
        Select(from + static_cast<LONG>(kMarkLength), from + static_cast<LONG>(kMarkLength));
        return true;
    }
    return false;
}

bool PRichEdit::OnListKey(WPARAM key)
{
    if (IsReadOnly())
        return false;
    if (key == 'D' && ControlDown()) {
        ToggleItemAtCaret();
        return true;
    }
    if ((key != VK_RETURN && key != VK_BACK) || !NoModifiers())
        return false;
    const CHARRANGE selection = Selection();
    if (selection.cpMin != selection.cpMax)
        return false;
    const LONG start = ParagraphStart(selection.cpMin);
    const ListMark mark = MarkAt(start);
    const LONG textStart = start + static_cast<LONG>(kMarkLength);
    if (mark == ListMark::None || selection.cpMin < textStart)
        return false;
    const bool empty = ParagraphEnd(start) == textStart;
    if (key == VK_BACK) {
        // Right after the box, Backspace takes the box away and leaves the text.
        if (selection.cpMin != textStart)
            return false;
        SetMark(start, ListMark::None);
        return true;
    }
    // Enter on an empty item ends the list; elsewhere in an item it starts the next one,
    // open whatever this one is.
    if (empty) {
        SetMark(start, ListMark::None);
        return true;
    }
    const ListMark next = mark == ListMark::Bullet ? ListMark::Bullet : ListMark::Open;
    const wchar_t text[] = {L'\r', MarkCharacter(next), L' ', 0};
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    const LONG nextStart = selection.cpMin + 1;
    DressMark(nextStart, next);
    Select(nextStart + static_cast<LONG>(kMarkLength), nextStart + static_cast<LONG>(kMarkLength));
    // What is typed next is not struck through, even after a done item.
    CHARFORMAT2W plain = {};
    plain.cbSize = sizeof(plain);
    plain.dwMask = CFM_STRIKEOUT;
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&plain));
    return true;
}

bool PRichEdit::OnListClick(LPARAM lParam)
{
    if (IsReadOnly())
        return false;
    POINTL point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const auto at = static_cast<LONG>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
    if (at < 0 || at != ParagraphStart(at))
        return false;
    const ListMark mark = MarkAt(at);
    if (mark != ListMark::Open && mark != ListMark::Done)
        return false;
    // Only a click on the box itself: between its left edge and the space after it.
    POINTL box = {}, space = {};
    SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&box), at);
    SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&space), at + 1);
    if (point.x < box.x || point.x >= space.x || point.y < box.y)
        return false;
    ::SetFocus(m_hWnd);
    SetMark(at, mark == ListMark::Open ? ListMark::Done : ListMark::Open);
    return true;
}

void PRichEdit::DressAllMarks()
{
    const LONG count = CharCount();
    for (LONG at = 0;;) {
        const ListMark mark = MarkAt(at);
        if (mark != ListMark::None)
            DressMark(at, mark);
        const LONG end = ParagraphEnd(at);
        if (end >= count)
            return;
        at = end + 1;
    }
}
