#include "framework/Wnd.h"
#include "framework/File.h"
#include "framework/Strings.h"
#include "text/PRichEdit.h"
#include "WinTestUtil.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// "Bold plain 你好" with the first word bold.
const char kSampleRtf[] = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"
                          "\\f0\\fs20\\b Bold\\b0  plain \\'c4\\'e3\\'ba\\'c3}";
const char kSampleText[] = "Bold plain \xC4\xE3\xBA\xC3";

// Stands in for the note window or the hidden owner: records the commands it gets.
class ParentWnd : public fw::Wnd {
public:
    std::vector<WPARAM> commands;
    bool Create()
    {
        fw::RegisterClassOnce("PINVEL_TEST_PARENT", 0, 0, nullptr, nullptr);
        return CreateEx(0, "PINVEL_TEST_PARENT", "parent", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr);
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_COMMAND)
            commands.push_back(wParam);
        return DefWindowProc(msg, wParam, lParam);
    }
};

std::vector<std::string> g_opened;

void RecordOpen(const std::string& target)
{
    g_opened.push_back(target);
}

class Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create());
        const RECT rect = {0, 0, 1, 1};
        ASSERT_TRUE(edit.Create(0, rect, parent.GetHwnd()));
        g_opened.clear();
        PRichEdit::SetLinkOpener(&RecordOpen);
    }
    void TearDown() override { PRichEdit::SetLinkOpener(nullptr); }

    std::string Text()
    {
        std::string text;
        edit.StreamOutText(text, false);
        return text;
    }
    void Select(long from, long to)
    {
        CHARRANGE range = {from, to};
        edit.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    LOGFONTW FontAt(long from, long to)
    {
        Select(from, to);
        LOGFONTW font;
        edit.GetSelectionFont(font);
        return font;
    }

    ParentWnd parent;
    PRichEdit edit;
};

TEST_F(Editor, CreatedHiddenWithItsStylesAndEvents)
{
    HWND hwnd = edit.GetHwnd();
    EXPECT_EQ(wintest::ClassName(hwnd), "RichEdit20W");
    // The control adds the scroll styles its options ask for.
    const DWORD style = static_cast<DWORD>(::GetWindowLongA(hwnd, GWL_STYLE));
    EXPECT_EQ(style & 0x44201044u, 0x44201044u);
    EXPECT_EQ(style & WS_VISIBLE, 0u);
    EXPECT_EQ(::GetParent(hwnd), parent.GetHwnd());
    const LRESULT mask = edit.SendMessage(EM_GETEVENTMASK);
    EXPECT_EQ(mask & (ENM_LINK | ENM_DROPFILES), ENM_LINK | ENM_DROPFILES);
    // The same limit on both builds, where 0xFFFFFFFF was -1 on one and refused as such.
    EXPECT_EQ(edit.SendMessage(EM_GETLIMITTEXT), PRichEdit::kTextLimit);
    const LOGFONTW font = FontAt(0, 0);
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
    EXPECT_EQ(font.lfHeight, 240);
}

TEST_F(Editor, EmptyTextStreamsAsAWholeRtfDocumentOrNothing)
{
    std::string rtf;
    edit.StreamOutText(rtf, true);
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << rtf;
    EXPECT_NE(rtf.find_last_of('}'), std::string::npos);
    EXPECT_LT(rtf.size(), 400u);
    EXPECT_EQ(Text(), "");
}

TEST_F(Editor, RtfRoundTripKeepsTextAndFormatting)
{
    edit.StreamInText(kSampleRtf, true);
    EXPECT_EQ(Text(), kSampleText);
    EXPECT_EQ(FontAt(0, 4).lfWeight, 700);
    EXPECT_EQ(FontAt(5, 10).lfWeight, 400);

    std::string rtf;
    edit.StreamOutText(rtf, true);
    PRichEdit second;
    const RECT rect = {0, 0, 1, 1};
    ASSERT_TRUE(second.Create(0, rect, parent.GetHwnd()));
    second.StreamInText(rtf, true);
    std::string text;
    second.StreamOutText(text, false);
    EXPECT_EQ(text, kSampleText);
    std::string again;
    second.StreamOutText(again, true);
    EXPECT_EQ(again, rtf) << "the control's own RTF reads back to the same RTF";
}

// The narrow control as the program used it before: same text mode, same default font.
HWND MakeNarrowEditor(HWND parent)
{
    HWND hwnd = ::CreateWindowExA(0, "RichEdit20A", "", WS_CHILD | ES_MULTILINE, 0, 0, 1, 1, parent, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(hwnd, EM_SETTEXTMODE, TM_RICHTEXT | TM_MULTILEVELUNDO | TM_MULTICODEPAGE, 0);
    CHARFORMAT2A cf = {};
    cf.cbSize = sizeof(cf);
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE | CFM_CHARSET | CFM_COLOR;
    cf.yHeight = 240;
    std::strcpy(cf.szFaceName, "Times New Roman");
    ::SendMessageA(hwnd, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    return hwnd;
}

struct Bytes {
    std::string data;
    std::size_t at = 0;
};

DWORD CALLBACK ReadBytes(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* in = reinterpret_cast<Bytes*>(cookie);
    *done = static_cast<LONG>(std::min<std::size_t>(static_cast<std::size_t>(count), in->data.size() - in->at));
    std::memcpy(buffer, in->data.data() + in->at, static_cast<std::size_t>(*done));
    in->at += static_cast<std::size_t>(*done);
    return 0;
}

DWORD CALLBACK WriteBytes(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    reinterpret_cast<Bytes*>(cookie)->data.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
    *done = count;
    return 0;
}

std::string NarrowRtfRoundTrip(HWND hwnd, const std::string& rtf)
{
    Bytes in{rtf};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&in), 0, &ReadBytes};
    ::SendMessageA(hwnd, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    Bytes out;
    stream = {reinterpret_cast<DWORD_PTR>(&out), 0, &WriteBytes};
    ::SendMessageA(hwnd, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return out.data;
}

std::wstring WideText(HWND hwnd)
{
    std::wstring text(4096, L'\0');
    GETTEXTEX request = {static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    ::SendMessageW(hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(&text[0]));
    return text.c_str();
}

TEST_F(Editor, StoredNotesReadAndWriteAsTheNarrowControlDidOnTheChineseCodePage)
{
    const std::string notes[] = {
        kSampleRtf,
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\fnil\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5;}}{\\colortbl ;\\red200\\green10\\blue30;}\\f0\\fs24\\cf1\\i caf\\'e9\\i0\\par "
        "\\f1\\ul\\'d6\\'d0\\'ce\\'c4\\ulnone  \\u8364? \\u-10179?\\u-8704? \\strike end\\strike0\\par}",
        "{\\rtf1 plain}",
    };
    HWND narrow = MakeNarrowEditor(parent.GetHwnd());
    ASSERT_NE(narrow, nullptr);
    for (const std::string& note : notes) {
        const std::string before = NarrowRtfRoundTrip(narrow, note);
        ASSERT_EQ(before.rfind("{\\rtf1", 0), 0u);
        edit.StreamInText(note, true);
        std::string after;
        edit.StreamOutText(after, true);
        EXPECT_EQ(after, before) << note;
        EXPECT_EQ(WideText(edit.GetHwnd()), WideText(narrow)) << note;
    }
    EXPECT_EQ(WideText(edit.GetHwnd()), L"plain");
    ::DestroyWindow(narrow);
}

TEST_F(Editor, PlainTextComesInInTheDefaultFont)
{
    edit.StreamInText(kSampleRtf, true);
    LOGFONTW arial = {};
    arial.lfHeight = 400;
    arial.lfWeight = 700;
    ::lstrcpynW(arial.lfFaceName, L"Arial", LF_FACESIZE);
    edit.SetTextFont(arial, PRichEdit::Scope::WholeText);
    edit.SetTextColor(RGB(200, 0, 0), PRichEdit::Scope::WholeText);

    edit.StreamInText("one\r\ntwo", false);
    EXPECT_EQ(Text(), "one\r\ntwo");
    const LOGFONTW font = FontAt(0, -1);
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
    EXPECT_EQ(font.lfHeight, 240);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(edit.GetSelectionColor(), RGB(0, 0, 0));
}

TEST_F(Editor, OnlyWeightSevenHundredIsBold)
{
    edit.StreamInText("alpha beta", false);
    for (LONG weight : {600L, 800L, 700L}) {
        LOGFONTW font = {};
        font.lfHeight = -300; // the sign does not count
        font.lfWeight = weight;
        font.lfItalic = 5;
        ::lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
        edit.SetTextFont(font, PRichEdit::Scope::WholeText);
        const LOGFONTW back = FontAt(0, -1);
        EXPECT_EQ(back.lfWeight, weight == 700 ? 700 : 400) << weight;
        EXPECT_EQ(back.lfHeight, 300);
        EXPECT_EQ(back.lfItalic, 1);
        EXPECT_EQ(back.lfUnderline, 0);
        EXPECT_STREQ(back.lfFaceName, L"Arial");
    }
}

TEST_F(Editor, SelectionScopeWithoutSelectionFormatsTheWordAtTheCaret)
{
    edit.StreamInText("alpha beta", false);
    Select(7, 7);
    edit.SetTextColor(RGB(0, 0, 255), PRichEdit::Scope::Selection);
    Select(6, 10);
    EXPECT_EQ(edit.GetSelectionColor(), RGB(0, 0, 255));
    Select(0, 5);
    EXPECT_EQ(edit.GetSelectionColor(), RGB(0, 0, 0));
    Select(6, 10);
    EXPECT_EQ(edit.GetSelectedText(), "beta");
    // A font change keeps the colours.
    LOGFONTW font = {};
    font.lfHeight = 280;
    font.lfWeight = 400;
    ::lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    edit.SetTextFont(font, PRichEdit::Scope::WholeText);
    Select(6, 10);
    EXPECT_EQ(edit.GetSelectionColor(), RGB(0, 0, 255));
    edit.GetSelectionFont(font);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
}

// A text file comes in as what it says, whichever encoding it is in; before, UTF-8 came in
// read as code page 936 ("涓枃" for "中文"), and a title's four-byte sequences as
// question marks.
TEST_F(Editor, TextFilesInUtf8Utf16AndTheCodePageWithFourByteSequences)
{
    wintest::TempFolder folder("pinvel-edit");
    const std::wstring base = folder.Path();
    const std::wstring wanted = L"\x4E2D\x6587 UTF-8 \x00E7" L"a marche \x2615";
    const std::pair<const char*, std::string> files[] = {
        {"plain.txt", "\xE4\xB8\xAD\xE6\x96\x87 UTF-8 \xC3\xA7" "a marche \xE2\x98\x95"},
        {"marked.txt", "\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87 UTF-8 \xC3\xA7" "a marche \xE2\x98\x95"},
        {"wide.txt", std::string("\xFF\xFE", 2) +
                         std::string(reinterpret_cast<const char*>(wanted.data()), wanted.size() * 2)},
        {"gbk.txt", "\xD6\xD0\xCE\xC4 UTF-8 \x81\x30\x8A\x34" "a marche \x81\x37\xA4\x35"},
    };
    for (const auto& [name, bytes] : files) {
        const std::wstring path = base + fw::WideFromText(name);
        wintest::WriteFileBytes(path, bytes);
        ASSERT_TRUE(edit.ImportFile(path)) << name;
        EXPECT_EQ(WideText(edit.GetHwnd()), wanted) << name;
    }
}

// Reads half of what is asked, then fails.
BOOL WINAPI ReadHalfThenFail(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read, LPOVERLAPPED)
{
    static bool first = false;
    first = !first;
    return first && ::ReadFile(file, buffer, bytes / 2, read, nullptr);
}

TEST_F(Editor, FileFormatFollowsTheRtfEnding)
{
    wintest::TempFolder folder("pinvel-edit");
    const std::wstring base = folder.Path();
    wintest::WriteFileBytes(base + L"Letter.RTF", kSampleRtf);
    EXPECT_TRUE(edit.ImportFile(base + L"Letter.RTF"));
    EXPECT_EQ(Text(), kSampleText);

    wintest::WriteFileBytes(base + L"notes.doc", "{\\rtf1 raw}");
    edit.ImportFile(base + L"notes.doc");
    EXPECT_EQ(Text(), "{\\rtf1 raw}") << "anything but .rtf is plain text";
    EXPECT_STREQ(FontAt(0, -1).lfFaceName, L"Times New Roman");

    EXPECT_FALSE(edit.ImportFile(base + L"missing.rtf"));
    EXPECT_EQ(Text(), "{\\rtf1 raw}") << "a file that cannot be opened changes nothing";

    // A file that opens but breaks off while being read (a network share going away,
    // a failing disk) must not cost the note its text.
    wintest::WriteFileBytes(base + L"broken.txt", "never read whole");
    fw::SetReadFunction(&ReadHalfThenFail);
    EXPECT_FALSE(edit.ImportFile(base + L"broken.txt"));
    fw::SetReadFunction(nullptr);
    EXPECT_EQ(Text(), "{\\rtf1 raw}");

    edit.StreamInText(kSampleRtf, true);
    EXPECT_TRUE(edit.ExportFile(base + L"plan.Rtf"));
    EXPECT_TRUE(edit.ExportFile(base + L"plan.txt"));
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.Rtf").rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.txt"), kSampleText);

    // A write that cannot be finished (here: the disk is full) reports failure and
    // leaves the old file whole.
    fw::SetWriteFunction(&wintest::DiskFullWrite);
    edit.StreamInText("newer", false);
    EXPECT_FALSE(edit.ExportFile(base + L"plan.txt"));
    fw::SetWriteFunction(nullptr);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.txt"), kSampleText);
}

TEST_F(Editor, F3AsksTheParentToFindOnwardOrBack)
{
    edit.SendMessage(WM_KEYDOWN, VK_F3, 0);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    ::SetKeyboardState(keys);
    edit.SendMessage(WM_KEYDOWN, VK_F3, 0);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(parent.commands, (std::vector<WPARAM>{32803, 32804}));
}

// Clicks a character of the shown control with the real mouse.
void ClickAt(HWND edit, long character, DWORD down, DWORD up)
{
    POINTL at = {};
    ::SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), character);
    POINT screen = {at.x + 2, at.y + 5};
    ::ClientToScreen(edit, &screen);
    ASSERT_TRUE(wintest::MoveCursor(screen.x, screen.y));
    // The press and release carry the point themselves: under load, the X server's late
    // report of an earlier move could otherwise put the cursor back between the two.
    INPUT input[2] = {};
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = ::MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        one.mi.dy = ::MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    input[0].mi.dwFlags = down | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = up | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(2, input, sizeof(INPUT));
    // Both buttons are up again before anything else is clicked.
    wintest::PumpUntil([] { return (::GetKeyState(VK_LBUTTON) & 0x8000) == 0 && (::GetKeyState(VK_RBUTTON) & 0x8000) == 0; },
                       2000);
}

TEST_F(Editor, LinksTheControlFindsOpenOnALeftClickOnly)
{
    ::SetWindowPos(parent.GetHwnd(), HWND_TOPMOST, 100, 100, 400, 200, SWP_SHOWWINDOW);
    ::SetWindowPos(edit.GetHwnd(), nullptr, 0, 0, 400, 200, SWP_SHOWWINDOW | SWP_NOZORDER);
    ::SetForegroundWindow(parent.GetHwnd());
    EXPECT_NE(edit.SendMessage(EM_GETAUTOURLDETECT), 0) << "the control finds links itself";
    edit.StreamInText("see http://example.com/x now\r\nrun file:///C:/Windows/notepad.exe", false);
    wintest::PumpUntil([] { return false; }, 200);

    ClickAt(edit.GetHwnd(), 10, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    wintest::PumpUntil([] { return !g_opened.empty(); }, 500);
    EXPECT_TRUE(g_opened.empty()) << "the right button opens nothing";
    ClickAt(edit.GetHwnd(), 10, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(wintest::PumpUntil([] { return !g_opened.empty(); }, 3000));
    EXPECT_EQ(g_opened, (std::vector<std::string>{"http://example.com/x"}));
    EXPECT_EQ(edit.GetSelectedText(), "http://example.com/x") << "the link stays selected";

    // A link that would start a file or a program is not opened. Clicked after the
    // double-click time, so that the two clicks are never taken for one double click.
    wintest::PumpUntil([] { return false; }, ::GetDoubleClickTime() + 100);
    ClickAt(edit.GetHwnd(), 35, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(wintest::PumpUntil([&] { return edit.GetSelectedText() == "file:///C:/Windows/notepad.exe"; }, 3000))
        << "reported as a link";
    EXPECT_EQ(g_opened, (std::vector<std::string>{"http://example.com/x"}));
    // The mouse leaves the control while it still exists: under Wine, a window destroyed
    // under the cursor stops every later mouse-leave message of this thread.
    wintest::MoveCursor(900, 700);
    wintest::PumpUntil([] { return false; }, 300);
}

TEST_F(Editor, DroppingFilesImportsTheFirstOnly)
{
    // Names no ANSI code page holds whole, as the shell hands them over: wide.
    wintest::TempFolder folder("pinvel-drop");
    const std::wstring first = folder.Path() + L"\uD55C First.RTF";
    const std::wstring second = folder.Path() + L"second.txt";
    wintest::WriteFileBytes(first, kSampleRtf);
    wintest::WriteFileBytes(second, "second");
    // A drop handle as the shell makes it: the header, then the names, each ending in
    // a zero, and one more zero.
    const std::wstring names = first + L'\0' + second + L'\0' + L'\0';
    const std::size_t bytes = names.size() * sizeof(wchar_t);
    HGLOBAL drop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), bytes);
    ::GlobalUnlock(drop);

    ENDROPFILES notify = {};
    notify.nmhdr.hwndFrom = edit.GetHwnd();
    notify.nmhdr.code = EN_DROPFILES;
    notify.hDrop = drop;
    EXPECT_EQ(::SendMessageA(parent.GetHwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify)), 0);
    ::GlobalFree(drop);
    EXPECT_EQ(Text(), kSampleText);
}

} // namespace

namespace {

// Boxes and bullets are characters of the RTF; the code page has none of them, so plain
// text carries them as brackets and a dash, and brackets come back as boxes.
TEST_F(Editor, ListMarksKeepInRtfLeavePlainTextAsBracketsAndComeBackStruckThrough)
{
    ASSERT_TRUE(edit.StreamInText("{\\rtf1\\ansi \\u9744? milk\\par \\u9745? eggs\\par \\u8226? one\\par}", true));
    EXPECT_EQ(Text().substr(0, 25), "[ ] milk\r\n[x] eggs\r\n- one");
    std::string rtf;
    ASSERT_TRUE(edit.StreamOutText(rtf, true));
    EXPECT_NE(rtf.find("\\u9744"), std::string::npos) << rtf;
    const std::wstring shown = fw::WindowText(edit.GetHwnd());
    ASSERT_TRUE(edit.StreamInText(rtf, true));
    EXPECT_EQ(fw::WindowText(edit.GetHwnd()), shown) << "the RTF brings every mark back";

    ASSERT_TRUE(edit.StreamInText("[ ] a\r\n[x] done\r\n", false));
    EXPECT_EQ(fw::WindowText(edit.GetHwnd()).substr(0, 11), L"\x2610 a\r\n\x2611 done");
    Select(6, 10);
    CHARFORMAT2W format = {};
    format.cbSize = sizeof(format);
    edit.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE((format.dwEffects & CFE_STRIKEOUT) != 0) << "a done item's text is struck through";
}

} // namespace
