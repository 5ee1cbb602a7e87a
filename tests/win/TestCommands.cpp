#include "framework/Messages.h"
#include "framework/CommonDialogs.h"
#include "framework/Menu.h"
#include "framework/Strings.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PIconMenu.h"
#include "text/PRichEdit.h"
#include "res/resource.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <mapi.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The mail library the tests hand to the editor: this program, exporting the one
// function the editor looks for.
namespace {
struct SentMail {
    bool called = false;
    std::string subject, body;
    bool subjectAbsent = false, bodyAbsent = false;
    ULONG recipients = 0;
    std::string name, address;
    ULONG flags = 0;
    bool wide = false;
    std::wstring wideSubject;
    std::wstring wideBody;
};
SentMail g_sent;
ULONG g_sendResult = SUCCESS_SUCCESS;
} // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags,
                                                          ULONG)
{
    g_sent.called = true;
    g_sent.subjectAbsent = message->lpszSubject == nullptr;
    g_sent.bodyAbsent = message->lpszNoteText == nullptr;
    g_sent.subject = message->lpszSubject ? message->lpszSubject : "";
    g_sent.body = message->lpszNoteText ? message->lpszNoteText : "";
    g_sent.recipients = message->nRecipCount;
    if (message->nRecipCount == 1) {
        g_sent.name = message->lpRecips->lpszName;
        g_sent.address = message->lpRecips->lpszAddress;
    }
    g_sent.flags = flags;
    return g_sendResult;
}

// The wide function, which the editor prefers when the library has it.
extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMailW(LHANDLE session, ULONG_PTR ui, void* message, FLAGS flags,
                                                           ULONG reserved)
{
    // Laid out as the narrow message, with wide texts.
    struct Recipient {
        ULONG reserved, recipClass;
        PWSTR name, address;
        ULONG idSize;
        void* id;
    };
    struct Message {
        ULONG reserved;
        PWSTR subject, text, type, date, conversation;
        FLAGS flags;
        Recipient* originator;
        ULONG recipientCount;
        Recipient* recipients;
        ULONG fileCount;
        void* files;
    };
    const auto* wide = static_cast<const Message*>(message);
    auto narrow = [](PWSTR text) { return text != nullptr ? fw::TextFromWide(text) : std::string(); };
    std::string subject = narrow(wide->subject), body = narrow(wide->text);
    std::string name, address;
    MapiRecipDesc recipient = {};
    MapiMessage copy = {};
    copy.lpszSubject = wide->subject != nullptr ? &subject[0] : nullptr;
    copy.lpszNoteText = wide->text != nullptr ? &body[0] : nullptr;
    copy.nRecipCount = wide->recipientCount;
    if (wide->recipientCount == 1) {
        name = narrow(wide->recipients->name);
        address = narrow(wide->recipients->address);
        recipient.lpszName = &name[0];
        recipient.lpszAddress = &address[0];
        copy.lpRecips = &recipient;
    }
    const ULONG result = MAPISendMail(session, ui, &copy, flags, reserved);
    g_sent.wide = true;
    g_sent.wideSubject = wide->subject != nullptr ? wide->subject : L"";
    g_sent.wideBody = wide->text != nullptr ? wide->text : L"";
    return result;
}

namespace {

std::vector<std::string> g_messages;

int g_messageAnswer = IDOK;
int RecordMessage(HWND, const std::string& text, const std::string&, UINT)
{
    g_messages.push_back(text);
    return g_messageAnswer;
}

// Runs an action inside the next modal loop (a menu or a dialog) once it is up.
void Inside(std::function<void()> action)
{
    wintest::WhenReady([action] {
        HWND menu = ::FindWindowA("#32768", nullptr);
        const bool menuOrDialog = (menu != nullptr && ::IsWindowVisible(menu)) || wintest::ActiveDialog() != nullptr;
        if (menuOrDialog)
            action();
        return menuOrDialog;
    });
}

class Commands : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        g_messages.clear();
        fw::SetMessageBoxFunction(&RecordMessage);
        LogicTest::SetUp();
        window = logic->NewNoteAndShow();
        edit = window->GetEditor();
        edit->StreamInText("alpha beta gamma beta", false);
    }
    void TearDown() override
    {
        LogicTest::TearDown();
        fw::SetMessageBoxFunction(nullptr);
        PRichEdit::SetFileDialogFunction(nullptr);
        PRichEdit::SetMailLibraryLoader(nullptr);
    }
    void Select(long from, long to)
    {
        CHARRANGE range = {from, to};
        edit->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    CHARRANGE Selection()
    {
        CHARRANGE range = {};
        edit->SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }
    void Command(UINT id) { window->SendMessage(WM_COMMAND, id, 0); }
    std::string Text()
    {
        std::string text;
        edit->StreamOutText(text, false);
        return text;
    }

    PinvelWnd* window = nullptr;
    PRichEdit* edit = nullptr;
};

// What the edit submenu offered while the context menu was open, and where it opened.
struct MenuSeen {
    bool opened = false;
    std::vector<UINT> grayed;
    RECT rect = {};
    // Submenus without the wrapper that draws their owner-drawn items: shown empty.
    int undrawnSubmenus = 0;
};

MenuSeen OpenContextMenu(PinvelWnd* window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MenuSeen seen;
    Inside([&] {
        PIconMenu* menu = window->ContextMenu();
        if (menu != nullptr) {
            seen.opened = true;
            HMENU edit = ::GetSubMenu(::GetSubMenu(menu->GetHandle(), 0), 2);
            for (UINT id : {32780u, 32811u, 32781u, 32784u, 32782u, 32785u, 32783u})
                if (::GetMenuState(edit, id, MF_BYCOMMAND) & MF_GRAYED)
                    seen.grayed.push_back(id);
            if (HWND popup = ::FindWindowA("#32768", nullptr))
                ::GetWindowRect(popup, &seen.rect);
            HMENU popup = ::GetSubMenu(menu->GetHandle(), 0);
            for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
                HMENU sub = ::GetSubMenu(popup, i);
                seen.undrawnSubmenus += sub != nullptr && fw::Menu::FromHandle(sub) == nullptr ? 1 : 0;
            }
        }
        ::EndMenu();
    });
    window->SendMessage(msg, wParam, lParam);
    return seen;
}

void SetClipboardText(HWND owner, const char* text)
{
    ::OpenClipboard(owner);
    ::EmptyClipboard();
    if (text != nullptr) {
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
        std::strcpy(static_cast<char*>(::GlobalLock(data)), text);
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_TEXT, data);
    }
    ::CloseClipboard();
}

TEST_F(Commands, EditItemsFollowTheSelectionAndTheClipboard)
{
    SetClipboardText(window->GetHwnd(), nullptr);
    edit->SendMessage(EM_EMPTYUNDOBUFFER);
    Select(3, 3);
    MenuSeen seen = OpenContextMenu(window, WM_NOTE_CONTEXTMENU, 0xFFFF, 0xFFFF);
    ASSERT_TRUE(seen.opened);
    EXPECT_EQ(seen.grayed, (std::vector<UINT>{32780, 32811, 32781, 32784, 32782, 32785}));
    EXPECT_EQ(seen.undrawnSubmenus, 0);

    SetClipboardText(window->GetHwnd(), "pasted");
    Select(0, 5);
    edit->SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"ALPHA"));
    Select(0, 5);
    seen = OpenContextMenu(window, WM_NOTE_CONTEXTMENU, 0xFFFF, 0xFFFF);
    EXPECT_EQ(seen.grayed, (std::vector<UINT>{32811})) << "only Redo: nothing undone yet";

    Command(32784); // copy "ALPHA"
    Select(6, 10);
    Command(32782); // paste over "beta"
    EXPECT_EQ(Text(), "ALPHA ALPHA gamma beta");
    Command(32783);
    EXPECT_EQ(Selection().cpMin, 0);
    EXPECT_GE(Selection().cpMax, static_cast<LONG>(Text().size()));
}

TEST_F(Commands, KeyboardMenuOpensAtTheCaretAndTheCaptionOpensTheSameMenu)
{
    ::SetWindowPos(window->GetHwnd(), nullptr, 100, 100, 300, 200, SWP_NOZORDER);
    RECT rc;
    ::GetWindowRect(window->GetHwnd(), &rc);
    // The caret where the editor says its first character is, on the screen.
    HWND edit = window->GetEditor()->GetHwnd();
    ::SetFocus(edit);
    POINTL first = {};
    ::SendMessageW(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0);
    POINT caret = {first.x, first.y};
    ::ClientToScreen(edit, &caret);
    const MenuSeen keyboard = OpenContextMenu(window, WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    ASSERT_TRUE(keyboard.opened);
    EXPECT_LE(std::abs(keyboard.rect.left - caret.x), 2);
    EXPECT_LE(std::abs(keyboard.rect.top - caret.y), 2);
    // Asked for by another program, with a point off the note: its centre.
    const MenuSeen away = OpenContextMenu(window, WM_CONTEXTMENU, 0, MAKELPARAM(5000, 5000));
    ASSERT_TRUE(away.opened);
    EXPECT_EQ(away.rect.left, rc.left + (rc.right - rc.left) / 2);
    EXPECT_EQ(away.rect.top, rc.top + (rc.bottom - rc.top) / 2);
    const MenuSeen caption = OpenContextMenu(window, WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(rc.left + 20, rc.top + 10));
    ASSERT_TRUE(caption.opened);
    EXPECT_EQ(caption.rect.left, rc.left + 20);
    EXPECT_EQ(window->ContextMenu(), nullptr);
}

// Fills the Find dialog when it is open and presses a button.
void AnswerFind(const char* text, bool up, int button, bool* sawUpChecked = nullptr)
{
    Inside([=] {
        HWND dialog = ::GetActiveWindow();
        if (sawUpChecked != nullptr)
            *sawUpChecked = ::IsDlgButtonChecked(dialog, 1004) == BST_CHECKED;
        if (text != nullptr)
            ::SetDlgItemTextA(dialog, 1117, text);
        if (up)
            ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1004, BN_CLICKED), 0);
        ::SendMessageA(dialog, WM_COMMAND, button, 0);
    });
}

TEST_F(Commands, FindTakesTheSelectionAndNeverWraps)
{
    Select(0, 0);
    Command(32803);
    Command(32804);
    EXPECT_TRUE(g_messages.empty()) << "nothing to find: nothing happens";

    Select(6, 10); // "beta", kept as the search text even though the dialog is cancelled
    AnswerFind(nullptr, false, IDCANCEL);
    window->ShowFindDialog();
    EXPECT_EQ(window->FindText(), "beta");
    Command(32803);
    EXPECT_EQ(Selection().cpMin, 17) << "the next beta";
    Command(32803);
    ASSERT_EQ(g_messages.size(), 1u) << "no wrap to the start";
    EXPECT_NE(g_messages[0].find("\"beta\""), std::string::npos) << g_messages[0];
    EXPECT_EQ(Selection().cpMin, 17);
    Command(32804);
    EXPECT_EQ(Selection().cpMin, 6);
    Command(32804);
    EXPECT_EQ(g_messages.size(), 2u) << "no wrap to the end";
}

// Commands posted, as by anyone, while one of the note's dialogs or boxes is open open
// nothing inside it; F3 held down after a failed search shows one box, not a stack.
TEST_F(Commands, DialogCommandsDoNothingWhileOneOfTheNotesOwnIsOpen)
{
    HWND first = nullptr;
    int ticks = 0;
    bool nested = false;
    wintest::WhenReady([&] {
        HWND active = wintest::ActiveDialog();
        if (active == nullptr)
            return false;
        if (first == nullptr) {
            first = active;
            for (UINT id : {ID_NOTE_ALARMS, ID_NOTE_TITLE, ID_NOTE_APPEARANCE, ID_TEXT_FONT, ID_TEXT_COLOR, ID_EDIT_FIND})
                ::PostMessageW(window->GetHwnd(), WM_COMMAND, id, 0);
            return false;
        }
        if (active != first) {
            nested = true;
            ::PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
            return false;
        }
        if (++ticks < 10)
            return false;
        ::PostMessageW(first, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    Command(ID_NOTE_TITLE);
    EXPECT_FALSE(nested);

    static int depth = 0;
    static int deepest = 0;
    static HWND note = nullptr;
    note = window->GetHwnd();
    fw::SetMessageBoxFunction([](HWND, const std::string&, const std::string&, UINT) {
        deepest = std::max(deepest, ++depth);
        for (int i = 0; depth == 1 && i < 3; ++i)
            ::PostMessageW(note, WM_KEYDOWN, VK_F3, 0);
        wintest::PumpUntil([] { return false; }, 300);  // the box's own loop
        --depth;
        return IDOK;
    });
    AnswerFind("nowhere", false, IDOK);
    window->ShowFindDialog();
    EXPECT_EQ(deepest, 1);
}

TEST_F(Commands, FindMatchesCaseAndWholeWordsOnlyWhenAsked)
{
    edit->StreamInText("Betamax BETA beta", false);
    const struct {
        bool matchCase;
        bool wholeWord;
        long found;
    } cases[] = {{false, false, 0}, {true, false, 13}, {false, true, 8}, {true, true, 13}};
    for (const auto& c : cases) {
        Select(0, 0);
        Inside([&] {
            HWND dialog = ::GetActiveWindow();
            ::SetDlgItemTextA(dialog, 1117, "beta");
            ::CheckDlgButton(dialog, 1027, c.matchCase ? BST_CHECKED : BST_UNCHECKED);
            ::CheckDlgButton(dialog, 1017, c.wholeWord ? BST_CHECKED : BST_UNCHECKED);
            ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        window->ShowFindDialog();
        EXPECT_EQ(Selection().cpMin, c.found) << "case " << c.matchCase << ", whole word " << c.wholeWord;
    }
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(Commands, FindDialogRemembersItsDirectionAndEmptyTextOnlyStoresOptions)
{
    Select(0, 0);
    AnswerFind("", true, IDOK);
    window->ShowFindDialog();
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(Selection().cpMax, 0);
    bool upChecked = false;
    AnswerFind("gamma", false, IDOK, &upChecked);
    window->ShowFindDialog();
    EXPECT_TRUE(upChecked) << "reopens with the last direction";
    EXPECT_EQ(g_messages.size(), 1u) << "searched up from the start: nothing there";

    const std::string longText = std::string(31, 'q') + "\xC4\xE3" + "tail";
    AnswerFind(longText.c_str(), false, IDOK);
    window->ShowFindDialog();
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_NE(g_messages[1].find("\"" + std::string(31, 'q') + " ...\""), std::string::npos) << g_messages[1];
}

// A note takes no more than it can save and read back: typing past it is told, and a
// file that holds more is not imported at all.
TEST_F(Commands, TypingOrImportingPastWhatANoteHoldsIsRefusedAndTold)
{
    edit->SendMessage(EM_EXLIMITTEXT, 0, 25);
    SetClipboardText(window->GetHwnd(), "0123456789");
    Select(21, 21);
    Command(ID_EDIT_PASTE);
    EXPECT_LE(Text().size(), 25u);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], fw::Format(fw::LoadResString(IDS_NOTE_FULL).c_str(), int(PRichEdit::kTextLimit)));
    for (char c : std::string("0123456789"))
        edit->SendMessage(WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_LE(Text().size(), 25u);

    g_messages.clear();
    const std::string before = Text();
    static std::wstring s_path;
    s_path = folder.Path() + L"long.txt";
    wintest::WriteFileBytes(s_path, std::string(100, 'i'));
    PRichEdit::SetFileDialogFunction([](bool, HWND, const char*, DWORD, std::wstring& path, DWORD&) {
        path = s_path;
        return true;
    });
    Command(ID_NOTE_IMPORT);
    EXPECT_EQ(Text(), before);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].find("long.txt"), std::string::npos) << g_messages[0];
}

TEST_F(Commands, ExportAndImportThroughTheirDialogs)
{
    static std::wstring s_path;
    static DWORD s_filter;
    static DWORD s_startFilter;
    PRichEdit::SetFileDialogFunction([](bool, HWND, const char*, DWORD, std::wstring& path, DWORD& filter) {
        s_startFilter = filter;
        path = s_path;
        filter = s_filter;
        return !s_path.empty();
    });
    const std::wstring base = folder.Path();
    s_path = base + L"plan";
    s_filter = 1;
    Command(32807);
    EXPECT_EQ(s_startFilter, 1u);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.rtf").rfind("{\\rtf", 0), 0u);
    s_path = base + L"plan.rtf";
    s_filter = 2;
    Command(32807);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.rtf.txt"), "alpha beta gamma beta");
    EXPECT_TRUE(g_messages.empty()) << "a new file: nothing to ask";
    s_path = base + L"Plan2.RTF";
    s_filter = 1;
    Command(32807);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"Plan2.RTF").rfind("{\\rtf", 0), 0u);

    // The dialog asked about "plan.rtf"; "plan.rtf.txt" is written, and it exists.
    edit->StreamInText("newer", false);
    s_path = base + L"plan.rtf";
    s_filter = 2;
    g_messageAnswer = IDNO;
    Command(32807);
    g_messageAnswer = IDOK;
    ASSERT_EQ(g_messages.size(), 1u) << "asked before replacing a file the dialog did not ask about";
    EXPECT_NE(g_messages[0].find("plan.rtf.txt"), std::string::npos) << g_messages[0];
    EXPECT_EQ(wintest::ReadFileBytes(base + L"plan.rtf.txt"), "alpha beta gamma beta") << "No keeps the file";

    edit->StreamInText("changed", false);
    s_path = base + L"plan.rtf";
    Command(32806);
    EXPECT_EQ(s_startFilter, 2u) << "import starts on the Pinvel files entry";
    EXPECT_EQ(Text(), "alpha beta gamma beta") << "the whole note replaced";
    s_path = L"";
    Command(32806);
    EXPECT_EQ(Text(), "alpha beta gamma beta") << "cancelled";

    // The third entry, after the two of before, writes UTF-8 with its mark: a character
    // code page 936 lacks leaves whole.
    edit->StreamInPlain(L"caf\x00E9 \xD55C\xAD6D\xC5B4 \x2615");
    s_path = base + L"any";
    s_filter = 3;
    Command(32807);
    EXPECT_EQ(wintest::ReadFileBytes(base + L"any.txt"), "\xEF\xBB\xBF" "caf\xC3\xA9 \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xE2\x98\x95");
}

HMODULE LoadThisProgram(const char*)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return ::LoadLibraryA(path);
}

TEST_F(Commands, MailHandsTitleAndPlainTextToTheMailProgram)
{
    PRichEdit::SetMailLibraryLoader(&LoadThisProgram);
    g_sent = {};
    g_sendResult = SUCCESS_SUCCESS;
    edit->StreamInText("line one\r\nline two", false);
    window->GetNote()->SetTitle("");
    Command(32777);
    ASSERT_TRUE(g_sent.called);
    EXPECT_FALSE(g_sent.subjectAbsent) << "an empty title is an empty subject";
    EXPECT_EQ(g_sent.subject, "");
    EXPECT_EQ(g_sent.body, "line one\r\nline two");
    EXPECT_EQ(g_sent.recipients, 0u);
    EXPECT_EQ(g_sent.flags, 9u);
    EXPECT_TRUE(g_messages.empty());
    EXPECT_TRUE(::IsWindowEnabled(window->GetHwnd())) << "the window is given back";

    edit->SendMail("anna@example.org", "\xD6\xD0\xCE\xC4", nullptr); // 中文
    EXPECT_TRUE(g_sent.wide) << "the wide function, where the library has it";
    EXPECT_EQ(g_sent.wideSubject, L"\u4E2D\u6587");
    EXPECT_EQ(g_sent.name, "anna@example.org");
    EXPECT_EQ(g_sent.address, "SMTP:anna@example.org");
    EXPECT_TRUE(g_sent.bodyAbsent);

    // A title and a text in scripts code page 936 lacks reach the mail whole.
    edit->StreamInPlain(L"caf\x00E9 \xD55C\xAD6D\xC5B4 \x2615");
    window->GetNote()->SetTitle("Caf\xA8\xA6 \x81\x30\x8A\x34"); // "Café ç"
    Command(32777);
    EXPECT_EQ(g_sent.wideBody, L"caf\x00E9 \xD55C\xAD6D\xC5B4 \x2615");
    EXPECT_EQ(g_sent.wideSubject, L"Caf\x00E9 \x00E7");

    for (ULONG quiet : {1ul, 3ul}) {
        g_sendResult = quiet;
        Command(32777);
    }
    EXPECT_TRUE(g_messages.empty()) << "cancel and log-on failure are quiet";
    g_sendResult = 2;
    Command(32777);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], fw::LoadResString(2008));
}

TEST_F(Commands, WithoutAMailLibraryTheUserIsTold)
{
    PRichEdit::SetMailLibraryLoader([](const char*) -> HMODULE { return nullptr; });
    Command(32777);
    PRichEdit::SetMailLibraryLoader([](const char*) { return ::LoadLibraryA("KERNEL32.DLL"); });
    Command(32777);
    ASSERT_EQ(g_messages.size(), 2u);
    EXPECT_EQ(g_messages[0], fw::LoadResString(2006));
    EXPECT_EQ(g_messages[1], fw::LoadResString(2007));
}

TEST_F(Commands, FontAndColourDialogsAreOwnedByTheNote)
{
    // Owned, they stay above the always-on-top note and keep it from being used meanwhile.
    for (UINT command : {32809u, 32810u}) {
        HWND owner = nullptr;
        Inside([&] {
            HWND dialog = ::GetActiveWindow();
            owner = ::GetWindow(dialog, GW_OWNER);
            ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        Command(command);
        EXPECT_EQ(owner, window->GetHwnd()) << command;
    }
}

TEST_F(Commands, FontAndColourDialogsOkWithoutAChangeKeepSizeAndColour)
{
    // 11 points is no whole number of pixels; the face is the Chinese font the tests
    // install, which the dialog lists.
    const wchar_t face[] = L"\u6587\u6CC9\u9A7F\u5FAE\u7C73\u9ED1"; // 文泉驿微米黑
    LOGFONTW font = {};
    font.lfHeight = 220;
    ::lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    edit->SetTextFont(font, PRichEdit::Scope::WholeText);
    edit->SetTextColor(RGB(200, 10, 30), PRichEdit::Scope::WholeText);
    Select(0, 5);
    for (UINT command : {32809u, 32810u}) {
        Inside([] { ::SendMessageA(::GetActiveWindow(), WM_COMMAND, IDOK, 0); });
        Command(command);
        LOGFONTW after = {};
        edit->GetSelectionFont(after);
        EXPECT_EQ(after.lfHeight, 220) << command;
        EXPECT_STREQ(after.lfFaceName, face) << command;
        EXPECT_EQ(edit->GetSelectionColor(), RGB(200, 10, 30)) << command;
    }
}

TEST_F(Commands, ChangeTitleThroughItsDialog)
{
    Inside([] {
        HWND dialog = ::GetActiveWindow();
        ::SetDlgItemTextA(dialog, 1127, "Renamed");
        ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    Command(32776);
    EXPECT_EQ(window->GetNote()->GetTitle(), "Renamed");
    Command(32771);
    EXPECT_TRUE(logic->Windows().empty()) << "Hide Note";
}

} // namespace
