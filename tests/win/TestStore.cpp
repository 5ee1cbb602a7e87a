#include "core/NoteFile.h"
#include "framework/Strings.h"
#include "framework/File.h"
#include "note/PinvelWnd.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "res/resource.h"
#include "text/PRichEdit.h"
#include "FailingNew.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

const char kDefaultTitle[] = "\xB1\xCA\xBC\xC7"; // 笔记

using wintest::FakeClock;

// While it lives, the system refuses to make windows of one class on this thread, as
// when the process has used up its window quota.
class RefuseWindows {
public:
    explicit RefuseWindows(const wchar_t* className)
    {
        s_className = className;
        m_hook = ::SetWindowsHookExW(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~RefuseWindows() { ::UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        wchar_t name[64] = {};
        if (code == HCBT_CREATEWND && ::GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64) > 0 &&
            ::lstrcmpiW(name, s_className) == 0)
            return 1;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline const wchar_t* s_className = nullptr;
    HHOOK m_hook;
};

// A logic window over a folder of its own, on 15 December 2002 at 23:59.
class Store : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        LogicTest::SetUp();
        FakeClock::local = {2002, 12, 0, 15, 23, 59, 0, 0};
    }
    std::wstring NoteFile(const std::string& name) const
    {
        return logic->NotesFolder() + L"\\" + std::wstring(name.begin(), name.end());
    }
    static std::string Text(PNote* note)
    {
        std::string text;
        note->OpenEditor()->StreamOutText(text, false);
        return text;
    }
    static std::string Name(PNote* note)
    {
        const std::wstring path = note->GetFilePath();
        return fw::TextFromWide(path.substr(path.find_last_of(L'\\') + 1));
    }
    // A well-formed file with the given title and user name and no alarms set.
    static std::string FileWith(const std::string& title, const std::string& user)
    {
        NoteFields fields;
        fields.title = title;
        fields.userName = user;
        fields.stamp0 = DateTime::FromValue(37605.5);
        fields.look.rect = {10, 20, 310, 220};
        fields.look.infoKind = 4;
        fields.alarms.yearly[2].enabled = true;
        return EncodeNoteFile(fields, "{\\rtf1 stored text}");
    }
};

TEST_F(Store, NotesSurviveARestart)
{
    PNote* note = logic->NewNote();
    note->OpenEditor()->StreamInText("first line\r\n\xC4\xE3\xBA\xC3", false);
    note->m_look.scheme = 3;
    note->m_alarms.weekly[5].enabled = true;
    logic->SaveAll();

    const std::string bytes = wintest::ReadFileBytes(NoteFile("N021215 (1).pvl"));
    NoteFields stored;
    std::size_t textOffset = 0;
    ASSERT_TRUE(DecodeNoteFields(bytes, stored, textOffset));
    std::string_view rtf;
    ASSERT_TRUE(DecodeNoteText(bytes, textOffset, rtf));
    EXPECT_EQ(bytes.size(), 469 + stored.title.size() + stored.userName.size() + rtf.size());
    EXPECT_EQ(stored.title, std::string(kDefaultTitle) + " 1");

    Start();
    ASSERT_EQ(logic->Notes().size(), 1u);
    PNote* back = logic->Notes().front().get();
    EXPECT_FALSE(back->IsTextLoaded()) << "loaded at start without its text";
    EXPECT_EQ(back->GetTitle(), std::string(kDefaultTitle) + " 1");
    EXPECT_EQ(back->m_look.scheme, 3);
    EXPECT_TRUE(back->m_alarms.weekly[5].enabled);
    EXPECT_EQ(back->Editor(), nullptr) << "no window of its own until it is first shown";
    PinvelWnd* window = logic->ShowNote(back);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetEditor(), back->Editor());
    EXPECT_TRUE(back->IsTextLoaded());
    EXPECT_EQ(Text(back), "first line\r\n\xC4\xE3\xBA\xC3");
}

TEST_F(Store, ANoteNeverShownKeepsEveryByteOfItsFile)
{
    const std::string bytes = FileWith("Kept", "someone");
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), bytes);
    Start();
    ASSERT_EQ(logic->Notes().size(), 1u);
    EXPECT_EQ(logic->Notes().front()->Editor(), nullptr) << "no window for a note never shown";
    logic->Notes().front()->m_look.scheme = 12; // in memory only: the text was never loaded
    logic->SaveAll();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (1).pvl")), bytes);
}

// Its editor, its window or one of its buttons: whatever cannot be made, the program
// goes on, the note stays hidden with nothing half-made, and nothing is written.
TEST_F(Store, ANoteWhoseWindowsCannotBeMadeIsNotShownAndItsFileIsKept)
{
    const std::string bytes = FileWith("Kept", "someone");
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), bytes);
    for (const wchar_t* refused : {L"RichEdit20W", L"PCN_NOTE", L"BUTTON"}) {
        Start();
        PNote* note = logic->Notes().front().get();
        {
            RefuseWindows refuse(refused);
            EXPECT_EQ(logic->ShowNote(note), nullptr) << fw::TextFromWide(refused);
            EXPECT_EQ(logic->NewNoteAndShow(), nullptr);
        }
        EXPECT_EQ(logic->Notes().size(), 1u) << "a new note that could not be shown is not kept";
        EXPECT_TRUE(logic->Windows().empty());
        EXPECT_EQ(::FindWindowW(L"PCN_NOTE", nullptr), nullptr);
        logic->SaveAll();
        EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (1).pvl")), bytes);
        EXPECT_NE(logic->ShowNote(note), nullptr) << "shown once windows can be made again";
        logic->HideNote(note);
    }
}

// "Show all" with more notes than the window quota holds stops while the tray menu and
// the way to hide them again still have room.
TEST_F(Store, ShowAllStopsBeforeTheWindowQuota)
{
    for (int i = 0; i < 4; ++i)
        logic->NewNote();
    // Room for two notes beyond what is kept free; each open note takes its share.
    static PLogic* s_logic = nullptr;
    s_logic = logic.get();
    PLogic::SetRoomSource([] { return 600 + 2 * 24 - 24 * static_cast<int>(s_logic->Windows().size()); });
    logic->ShowAll();
    PLogic::SetRoomSource(nullptr);
    EXPECT_EQ(logic->Windows().size(), 2u);
    const auto told = wintest::ShellCalls::TakeBalloons();
    ASSERT_EQ(told.size(), 1u) << "the user is told";
    EXPECT_NE(told[0].find(L" 2 "), std::wstring::npos) << "how many notes are not shown";
}

TEST_F(Store, ShowingAgainNeedsNoFile)
{
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), FileWith("t", "u"));
    Start();
    PNote* note = logic->Notes().front().get();
    ASSERT_NE(note->OpenEditor(), nullptr);
    ASSERT_TRUE(note->IsTextLoaded());
    RECT size = {};
    ::GetClientRect(note->Editor()->GetHwnd(), &size);
    EXPECT_GT(size.right, 100) << "a text never goes into an unsized editor";
    ::DeleteFileW(note->GetFilePath().c_str());
    wintest::TempFolder other("pinvel-store-window");
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(::GetParent(note->AttachEditor(window)->GetHwnd()), window);
    note->DetachEditor();
    ::DestroyWindow(window);
    EXPECT_FALSE(::IsWindowVisible(note->OpenEditor()->GetHwnd()));
    EXPECT_EQ(Text(note), "stored text");
}

TEST_F(Store, EmptyStoredNamesKeepTheDefaults)
{
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), FileWith("", ""));
    Start();
    ASSERT_EQ(logic->Notes().size(), 1u);
    PNote* note = logic->Notes().front().get();
    EXPECT_EQ(note->GetTitle(), kDefaultTitle);
    EXPECT_EQ(note->GetUserName(), PNote().GetUserName()) << "the Windows user name";
    EXPECT_EQ(note->m_look.infoKind, 4);
    EXPECT_EQ(note->m_stamp0.Value(), 37605.5);
    EXPECT_TRUE(note->m_alarms.yearly[2].enabled);
}

TEST_F(Store, FileNamesCountUpAndSkipDeletedOnes)
{
    PNote* first = logic->NewNote();
    PNote* second = logic->NewNote();
    PNote* third = logic->NewNote();
    EXPECT_EQ(Name(first), "N021215 (1).pvl");
    EXPECT_EQ(Name(second), "N021215 (2).pvl");
    EXPECT_EQ(Name(third), "N021215 (3).pvl");
    for (PNote* note : {first, second, third})
        ASSERT_TRUE(note->CreateEditor()) << "a note is written once it has been shown";
    logic->SaveAllNotes();
    logic->DeleteNote(second);
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N021215 (2).pvl")), "<missing>");
    EXPECT_EQ(logic->Notes().size(), 2u);

    FakeClock::local.wDay = 16; // made before midnight, saved after: the name keeps its day
    logic->SaveAllNotes();
    EXPECT_NE(wintest::ReadFileBytes(NoteFile("N021215 (3).pvl")), "<missing>");
    FakeClock::local.wDay = 15;
    EXPECT_EQ(Name(logic->NewNote()), "N021215 (4).pvl") << "a deleted note may come back under its name";
    ::DeleteFileW((logic->NotesFolder() + L"\\\x5DF2\x5220\x9664\\N021215 (2).pvl").c_str()); // 已删除
    EXPECT_EQ(Name(logic->NewNote()), "N021215 (2).pvl") << "free again once it is gone for good";
}

TEST_F(Store, ANewNoteNeverTakesTheNameOfAFileThatDidNotLoad)
{
    const std::string damaged = "PINVL\x02\0\0\0 written by a newer version";
    wintest::WriteFileBytes(NoteFile("N021215 (1).pvl"), damaged);
    Start();
    EXPECT_TRUE(logic->Notes().empty());
    PNote* note = logic->NewNote();
    EXPECT_EQ(Name(note), "N021215 (2).pvl");
    logic->SaveAllNotes();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N021215 (1).pvl")), damaged);
}

TEST_F(Store, TitlesCountUpSkippingTakenOnes)
{
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), FileWith(std::string(kDefaultTitle) + " 2", "u"));
    Start();
    EXPECT_EQ(logic->NewNote()->GetTitle(), std::string(kDefaultTitle) + " 1");
    EXPECT_EQ(logic->NewNote()->GetTitle(), std::string(kDefaultTitle) + " 3");
    logic->DeleteNote(logic->Notes().back().get());
    EXPECT_EQ(logic->NewNote()->GetTitle(), std::string(kDefaultTitle) + " 4") << "not reused in one run";
}

TEST_F(Store, DamagedFilesAreSkippedAndLeftAsTheyWere)
{
    const std::string good = FileWith("good", "u");
    std::string wrongMagic = good;
    wrongMagic[4] = 'X';
    std::string version2 = good;
    version2[5] = 2;
    std::string hugeTitle = good;
    hugeTitle.replace(9, 4, "\xFF\xFF\xFF\xFF");
    std::string hugeText = good;
    hugeText.replace(465 + 4 + 1, 4, "\xFF\xFF\xFF\xFF");
    const std::string files[] = {wrongMagic, version2, good.substr(0, 300), hugeTitle, hugeText, "", "PINV"};
    for (std::size_t i = 0; i < std::size(files); ++i)
        wintest::WriteFileBytes(NoteFile("bad" + std::to_string(i) + ".pvl"), files[i]);
    wintest::WriteFileBytes(NoteFile("good.pvl"), good);
    Start();
    ASSERT_EQ(logic->Notes().size(), 1u);
    EXPECT_EQ(logic->Notes().front()->GetTitle(), "good");
    logic->SaveAll();
    for (std::size_t i = 0; i < std::size(files); ++i)
        EXPECT_EQ(wintest::ReadFileBytes(NoteFile("bad" + std::to_string(i) + ".pvl")), files[i]) << i;
}

TEST_F(Store, AFailedSaveLosesNothingOnDisk)
{
    PNote* note = logic->NewNote();
    note->OpenEditor()->StreamInText("version one", false);
    ASSERT_TRUE(note->Save());
    const std::string saved = wintest::ReadFileBytes(note->GetFilePath());
    note->OpenEditor()->StreamInText("version two", false);

    {
        // Another program holds the file open and shares nothing.
        HANDLE held = ::CreateFileW(note->GetFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(note->Save());
        ::CloseHandle(held);
    }
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), saved);

    // The disk is full.
    fw::SetWriteFunction(&wintest::DiskFullWrite);
    EXPECT_FALSE(note->Save());
    fw::SetWriteFunction(nullptr);
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), saved);
    EXPECT_EQ(Text(note), "version two") << "the note itself keeps its text";

    // The text cannot come out whole: memory runs out while the control streams it. The
    // note is shown, so that its control has the size it lays a long text out in.
    logic->ShowNote(note);
    std::string lines;
    while (lines.size() < 300 * 1024)
        lines += "a line of ordinary words in a long note\r\n";
    note->OpenEditor()->StreamInText(lines, false);
    {
        wintest::FailLargeAllocations noRoom(128 * 1024);
        EXPECT_FALSE(note->Save());
    }
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), saved);
    EXPECT_TRUE(note->Save()) << "with room again";
}

// Writes a few bytes, then fails: a disk that fills up or a share that goes away.
BOOL WINAPI WriteSomeThenFail(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written, LPOVERLAPPED)
{
    static bool first = false;
    first = !first;
    return first && ::WriteFile(file, buffer, bytes < 10 ? bytes : 10, written, nullptr);
}

TEST_F(Store, AWriteThatFailsPartwayLeavesTheOldFiles)
{
    PNote* note = logic->NewNote();
    logic->ShowNote(note);
    note->OpenEditor()->StreamInText("version one", false);
    ASSERT_TRUE(note->Save());
    ASSERT_TRUE(logic->SaveSettings());
    const std::wstring exported = folder.Path() + L"exported.txt";
    ASSERT_TRUE(note->OpenEditor()->ExportFile(exported));
    const std::wstring settings = logic->GetFolder() + L"Pinvel.ini";
    const std::string oldNote = wintest::ReadFileBytes(note->GetFilePath());
    const std::string oldSettings = wintest::ReadFileBytes(settings);

    note->OpenEditor()->StreamInText("version two", false);
    NoteLook look = logic->DefaultLook();
    look.scheme = 5;
    fw::SetWriteFunction(&WriteSomeThenFail);
    EXPECT_FALSE(note->Save());
    logic->SetDefaultLook(look);
    EXPECT_FALSE(note->OpenEditor()->ExportFile(exported));
    fw::SetWriteFunction(nullptr);
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), oldNote);
    EXPECT_EQ(wintest::ReadFileBytes(settings), oldSettings);
    EXPECT_EQ(wintest::ReadFileBytes(exported), "version one");
}

TEST_F(Store, DeletingANoteRemovesOnlyItsOwnFile)
{
    const std::string files[] = {FileWith("one", "u"), FileWith("two", "u"), FileWith("three", "u")};
    for (int i = 0; i < 3; ++i)
        wintest::WriteFileBytes(NoteFile("N990101 (" + std::to_string(i + 1) + ").pvl"), files[i]);
    Start();
    ASSERT_EQ(logic->Notes().size(), 3u);
    PNote* two = nullptr;
    for (const auto& note : logic->Notes())
        two = note->GetTitle() == "two" ? note.get() : two;
    ASSERT_NE(two, nullptr);
    const std::wstring path = two->GetFilePath();
    logic->ShowNote(two)->SendMessage(WM_COMMAND, 32772, 0);
    wintest::PumpUntil([&] { return logic->Notes().size() == 2; }, 2000);
    EXPECT_EQ(wintest::ReadFileBytes(path), "<missing>");
    for (int i : {0, 2})
        EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (" + std::to_string(i + 1) + ").pvl")), files[i]) << i;
}

TEST_F(Store, EveryKindOfChangeToALoadedNoteIsSavedWhenItIsHidden)
{
    wintest::WriteFileBytes(folder.Path() + L"in.rtf", "{\\rtf1 imported rtf}");
    wintest::WriteFileBytes(folder.Path() + L"in.txt", "imported plain");
    const std::function<void(PRichEdit*)> changes[] = {
        [](PRichEdit* edit) { edit->SendMessage(WM_CHAR, 'Z', 0); },
        [&](PRichEdit* edit) { edit->ImportFile(folder.Path() + L"in.rtf"); },
        [&](PRichEdit* edit) { edit->ImportFile(folder.Path() + L"in.txt"); },
        [](PRichEdit* edit) {
            LOGFONTW font = {};
            font.lfHeight = 480;
            ::lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
            edit->SendMessage(EM_SETSEL, 0, -1);
            edit->SetTextFont(font, PRichEdit::Scope::Selection);
        },
    };
    for (int i = 0; i < 4; ++i)
        wintest::WriteFileBytes(NoteFile("N990101 (" + std::to_string(i + 1) + ").pvl"), FileWith("t", "u"));
    Start();
    int i = 0;
    for (const auto& note : logic->Notes()) {
        const std::string before = wintest::ReadFileBytes(note->GetFilePath());
        PinvelWnd* window = logic->ShowNote(note.get());
        changes[i](window->GetEditor());
        logic->HideNote(note.get());
        EXPECT_NE(wintest::ReadFileBytes(note->GetFilePath()), before) << "change " << i;
        ++i;
    }
}

TEST_F(Store, ANoteWhoseFileWentAwayAfterStartIsShownEmptyAndNeverWritten)
{
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), FileWith("vanished", "u"));
    wintest::WriteFileBytes(NoteFile("N990101 (2).pvl"), FileWith("damaged", "u"));
    Start();
    ASSERT_EQ(logic->Notes().size(), 2u);
    ::DeleteFileW(NoteFile("N990101 (1).pvl").c_str());
    const std::string damaged = FileWith("damaged", "u").substr(0, 100);
    wintest::WriteFileBytes(NoteFile("N990101 (2).pvl"), damaged);
    for (const auto& note : logic->Notes()) {
        PinvelWnd* window = logic->ShowNote(note.get());
        std::string text;
        window->GetEditor()->StreamOutText(text, false);
        EXPECT_EQ(text, "") << note->GetTitle();
        window->GetEditor()->SendMessage(WM_CHAR, 'Z', 0);
        logic->HideNote(note.get());
        logic->ShowNote(note.get());
    }
    ++FakeClock::minute;
    logic->SendMessage(WM_TIMER, 1, 0);
    logic->SaveAll();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (1).pvl")), "<missing>");
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (2).pvl")), damaged);
}

TEST_F(Store, LargeNoteFilesAreCheckedWithoutCopyAndTooLargeOnesLeftAlone)
{
    // A header-only load looks at a long text without copying it.
    NoteFields fields;
    fields.title = "long";
    const std::string longFile = EncodeNoteFile(fields, std::string(3 * 1024 * 1024, 'y'));
    wintest::WriteFileBytes(NoteFile("N990101 (1).pvl"), longFile);
    // Larger than any text the program keeps: left as it is, like a damaged file.
    HANDLE huge = ::CreateFileW(NoteFile("N990101 (2).pvl").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                nullptr);
    const std::string head = EncodeNoteFile(fields, "");
    const std::uint32_t textLength = 64u * 1024 * 1024;
    DWORD written = 0;
    ::WriteFile(huge, head.data(), static_cast<DWORD>(head.size() - 4), &written, nullptr);
    ::WriteFile(huge, &textLength, 4, &written, nullptr);
    ::SetFilePointer(huge, static_cast<LONG>(textLength), nullptr, FILE_CURRENT);
    ::SetEndOfFile(huge);
    ::CloseHandle(huge);
    {
        // Room for the file, not for a second copy of its text.
        wintest::FailLargeAllocations noRoom(1024 * 1024, 1);
        Start();
    }
    ASSERT_EQ(logic->Notes().size(), 1u);
    EXPECT_EQ(logic->Notes().front()->GetTitle(), "long");
    logic->SaveAll();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N990101 (1).pvl")), longFile);
    HANDLE check = ::CreateFileW(NoteFile("N990101 (2).pvl").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(::GetFileSize(check, nullptr), head.size() + textLength);
    ::CloseHandle(check);
}

// The control stops at its limit without an error: the part it took must never be saved
// over the whole text in the file.
TEST_F(Store, ATextCutShortWhileLoadingIsShownReadOnlyAndNeverWritten)
{
    NoteFields fields;
    fields.look.rect = {10, 20, 310, 220};
    const std::string bytes = EncodeNoteFile(fields, "{\\rtf1 " + std::string(200, 'w') + "}");
    wintest::WriteFileBytes(NoteFile("N021201 (1).pvl"), bytes);
    Start();
    PNote* note = logic->Notes().front().get();
    ASSERT_TRUE(note->CreateEditor());
    note->Editor()->SendMessage(EM_EXLIMITTEXT, 0, 50);
    PinvelWnd* window = logic->ShowNote(note);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(note->IsTextLoaded());
    EXPECT_NE(::GetWindowLongW(note->Editor()->GetHwnd(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_EQ(window->InfoText(), fw::LoadResString(IDS_NOTE_CUT_SHORT));
    logic->HideNote(note);
    logic->Shutdown();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N021201 (1).pvl")), bytes);
}

// A file whose text is empty holds a whole, empty note: the control reports such a
// stream as damaged RTF, which must not make the note read-only.
TEST_F(Store, ANoteFileWithAnEmptyTextLoadsAsAnEmptyNoteThatCanBeTypedIn)
{
    NoteFields fields;
    fields.look.rect = {10, 20, 310, 220};
    wintest::WriteFileBytes(NoteFile("N021201 (1).pvl"), EncodeNoteFile(fields, ""));
    Start();
    PNote* note = logic->Notes().front().get();
    PinvelWnd* window = logic->ShowNote(note);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(note->IsTextLoaded());
    EXPECT_EQ(note->GetTrouble(), PNote::Trouble::None);
    EXPECT_EQ(::GetWindowLongW(note->Editor()->GetHwnd(), GWL_STYLE) & ES_READONLY, 0);
}

// A long text shows its beginning with the window; a key pressed at once waits for the
// whole text and lands where the caret is in it, and an exit before the whole text is in
// writes nothing.
TEST_F(Store, ALongNoteShowsItsBeginningAtOnceAndTakesNoKeyBeforeItsWholeText)
{
    std::string rtf = "{\\rtf1\\ansi ";
    for (int line = 0; rtf.size() < 64 * 1024; ++line)
        rtf += "line " + std::to_string(line) + " of a long note\\par\r\n";
    rtf += "the end}";
    NoteFields fields;
    fields.look.rect = {10, 20, 310, 220};
    const std::string bytes = EncodeNoteFile(fields, rtf);
    wintest::WriteFileBytes(NoteFile("N021201 (1).pvl"), bytes);
    Start();
    PNote* note = logic->Notes().front().get();
    PinvelWnd* window = logic->ShowNote(note);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(note->IsTextComing());
    EXPECT_FALSE(note->IsTextLoaded());
    EXPECT_NE(::GetWindowLongW(note->Editor()->GetHwnd(), GWL_STYLE) & ES_READONLY, 0);
    EXPECT_GT(::GetWindowTextLengthW(note->Editor()->GetHwnd()), 100);

    ::SetForegroundWindow(window->GetHwnd());
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = 'Q';
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, key, sizeof(INPUT));
    // The key is in the queue before the loop runs, as a quick typist's would be.
    for (int wait = 0; wait < 200 && (HIWORD(::GetQueueStatus(QS_KEY)) & QS_KEY) == 0; ++wait)
        ::Sleep(10);
    const auto shownText = [&] {
        std::string text;
        note->Editor()->StreamOutText(text, false);
        return text;
    };
    wintest::PumpUntil([&] { return note->IsTextLoaded() && shownText()[0] == 'q'; }, 3000);
    EXPECT_TRUE(note->IsTextLoaded());
    EXPECT_EQ(shownText().substr(0, 12), "qline 0 of a");
    EXPECT_NE(shownText().find("the end"), std::string::npos);

    logic->HideNote(note);
    Start();
    note = logic->Notes().front().get();
    logic->ShowNote(note);
    ASSERT_TRUE(note->IsTextComing());
    const std::string saved = wintest::ReadFileBytes(NoteFile("N021201 (1).pvl"));
    logic->Shutdown();
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile("N021201 (1).pvl")), saved);
}

// A file the next start would refuse to read is not written: the last good one stays,
// and the note says why on its info line until it fits again.
TEST_F(Store, ANoteWhoseFileWouldBeTooLargeToReadBackKeepsItsLastFile)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    PNote* note = window->GetNote();
    window->GetEditor()->StreamInText("short", false);
    ASSERT_TRUE(note->Save());
    const std::string good = wintest::ReadFileBytes(note->GetFilePath());
    PNote::SetMaxFileBytes(good.size() + 100);
    window->GetEditor()->StreamInText(std::string(1000, 'L'), false);
    EXPECT_FALSE(note->Save());
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), good);
    EXPECT_EQ(window->InfoText(), fw::LoadResString(IDS_NOTE_TOO_LARGE));
    window->GetEditor()->StreamInText("short again", false);
    EXPECT_TRUE(note->Save());
    PNote::SetMaxFileBytes(0);
    EXPECT_EQ(note->GetTrouble(), PNote::Trouble::None);
    EXPECT_NE(wintest::ReadFileBytes(note->GetFilePath()).find("short again"), std::string::npos);
}

TEST_F(Store, ChangedNotesAreSavedWithinAMinuteAndDefaultsAtOnce)
{
    PNote* note = logic->NewNote();
    note->OpenEditor()->StreamInText("typed before a crash", false);
    auto nextMinute = [&] {
        ++FakeClock::minute;
        logic->SendMessage(WM_TIMER, 1, 0);
    };
    logic->SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), "<missing>") << "same minute: nothing yet";
    nextMinute();
    EXPECT_NE(wintest::ReadFileBytes(note->GetFilePath()).find("typed before a crash"), std::string::npos);

    ::DeleteFileW(note->GetFilePath().c_str());
    nextMinute();
    EXPECT_EQ(wintest::ReadFileBytes(note->GetFilePath()), "<missing>") << "unchanged: not written again";
    note->m_alarms.daily[0].enabled = true;
    nextMinute();
    NoteFields fields;
    std::size_t offset = 0;
    ASSERT_TRUE(DecodeNoteFields(wintest::ReadFileBytes(note->GetFilePath()), fields, offset));
    EXPECT_TRUE(fields.alarms.daily[0].enabled) << "a changed field is a change";

    NoteLook look;
    look.scheme = 2;
    logic->SetDefaultLook(look);
    EXPECT_EQ(wintest::ReadFileBytes(logic->GetFolder() + L"Pinvel.ini").size(), 46u);
}

} // namespace
