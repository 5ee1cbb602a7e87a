#include "framework/Messages.h"
#include "core/NoteFile.h"
#include "note/PinvelWnd.h"
#include "res/resource.h"
#include "logic/PLogic.h"
#include "store/PNote.h"
#include "text/PIconMenu.h"
#include "text/PRichEdit.h"
#include "tray/PSysTray.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::FakeClock;

std::vector<std::string> g_entries;
PSysTray* g_tray = nullptr;

// Reads the recently-deleted submenu once the tray menu is open, then closes the menu.
bool ReadDeletedAndClose()
{
    PIconMenu* menu = g_tray->TrackedMenu();
    if (menu == nullptr)
        return false;
    g_entries.clear();
    HMENU deleted = ::GetSubMenu(::GetSubMenu(menu->GetHandle(), 0), 5);
    for (int i = 0; i < ::GetMenuItemCount(deleted); ++i) {
        char text[256] = {};
        ::GetMenuStringA(deleted, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
        g_entries.push_back(text);
    }
    ::EndMenu();
    return true;
}

// Another program holds the file open and shares nothing.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path)
        : m_file(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
        EXPECT_NE(m_file, INVALID_HANDLE_VALUE);
    }
    ~HeldFile() { ::CloseHandle(m_file); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    HANDLE m_file;
};

std::string FileWith(const std::string& title)
{
    NoteFields fields;
    fields.title = title;
    fields.look.rect = {10, 20, 310, 220};
    return EncodeNoteFile(fields, "{\\rtf1 text of " + title + "}");
}

// On 15 December 2002, as the tray shows the moment of deletion.
class Deleted : public wintest::LogicTest {
protected:
    void SetUp() override
    {
        LogicTest::SetUp();
        FakeClock::local = {2002, 12, 0, 15, 10, 0, 0, 0};
    }
    std::wstring NoteFile(int n) const { return logic->NotesFolder() + L"\\N990101 (" + std::to_wstring(n) + L").pvl"; }
    std::wstring DeletedFile(int n) const
    {
        return logic->NotesFolder() + L"\\\x5DF2\x5220\x9664\\N990101 (" + std::to_wstring(n) + L").pvl";
    }
    PNote* Listed(const std::wstring& path) const
    {
        for (const auto& note : logic->Notes()) {
            if (note->GetFilePath() == path)
                return note.get();
        }
        return nullptr;
    }
    // Through the note's window, as its Delete Note command reaches it.
    void DeleteThroughItsWindow(PNote* note)
    {
        ASSERT_NE(note, nullptr);
        logic->ShowNote(note)->SendMessage(WM_COMMAND, ID_NOTE_DELETE, 0);
    }
    std::vector<std::string> OpenDeletedMenu()
    {
        g_entries = {"<menu never opened>"};
        g_tray = logic->Tray();
        wintest::WhenReady(&ReadDeletedAndClose);
        logic->Tray()->SendMessage(WM_TRAY_NOTIFY, 0, MAKELPARAM(WM_RBUTTONDOWN, 1));
        return g_entries;
    }
};

TEST_F(Deleted, TheTrayListsTheNewestTwentyAndRestoresUnderAFreeName)
{
    for (int n = 1; n <= 22; ++n)
        wintest::WriteFileBytes(NoteFile(n), FileWith(n == 22 ? "Tom & Jerry" : "t" + std::to_string(n)));
    Start();
    ASSERT_EQ(logic->Notes().size(), 22u);
    // One a minute, at 10:01 to 10:22.
    Listed(NoteFile(22))->m_options.level = NoteLevel::Desktop;
    logic->NoteOptionsChanged(Listed(NoteFile(22)));
    for (int n = 1; n <= 22; ++n) {
        ++FakeClock::local.wMinute;
        DeleteThroughItsWindow(Listed(NoteFile(n)));
    }
    EXPECT_TRUE(logic->Notes().empty());
    EXPECT_TRUE(logic->Windows().empty());
    EXPECT_EQ(wintest::ReadFileBytes(DeletedFile(22)), FileWith("Tom & Jerry"));

    const std::vector<std::string> entries = OpenDeletedMenu();
    ASSERT_EQ(entries.size(), 20u);
    EXPECT_EQ(entries.front(), "Tom && Jerry  12/15 10:22") << "newest first, the & shows as itself";
    EXPECT_EQ(entries.back(), "t3  12/15 10:03");

    // Another file has taken the name meanwhile: it is kept.
    wintest::WriteFileBytes(NoteFile(22), "not a note");
    ::SendMessageW(logic->Tray()->GetHwnd(), WM_COMMAND, PSysTray::kFirstDeletedCommand, 0);
    ASSERT_EQ(logic->Notes().size(), 1u);
    PNote* back = logic->Notes().front().get();
    EXPECT_EQ(back->GetTitle(), "Tom & Jerry");
    EXPECT_EQ(back->GetFilePath(), NoteFile(23)) << "the first name free in both folders";
    EXPECT_EQ(back->m_options.level, NoteLevel::Desktop) << "its window settings came back with it";
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile(23)), FileWith("Tom & Jerry"));
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile(22)), "not a note");
    EXPECT_EQ(wintest::ReadFileBytes(DeletedFile(22)), "<missing>");
    EXPECT_FALSE(logic->IsHidden(back));
    EXPECT_EQ(OpenDeletedMenu().front(), "t21  12/15 10:21");
}

TEST_F(Deleted, ANewNoteTypedIntoAndDeletedBeforeItsFirstSaveIsKept)
{
    PinvelWnd* window = logic->NewNoteAndShow();
    ASSERT_NE(window, nullptr);
    window->GetEditor()->SendMessage(WM_CHAR, 'Q', 0);
    const std::wstring name = window->GetNote()->GetFilePath().substr(logic->NotesFolder().size() + 1);
    window->SendMessage(WM_COMMAND, ID_NOTE_DELETE, 0);
    EXPECT_TRUE(logic->Notes().empty());
    const std::string kept =
        wintest::ReadFileBytes(logic->NotesFolder() + L"\\\x5DF2\x5220\x9664\\" + name);
    EXPECT_NE(kept.find("Q"), std::string::npos) << "what was typed goes aside with it";
}

TEST_F(Deleted, AFileThatCannotBeMovedLeavesTheNoteAndTheFileAsTheyWere)
{
    const std::string bytes = FileWith("kept");
    wintest::WriteFileBytes(NoteFile(1), bytes);
    Start();
    PNote* note = logic->Notes().front().get();
    {
        HeldFile held(NoteFile(1));
        DeleteThroughItsWindow(note);
    }
    ASSERT_EQ(logic->Notes().size(), 1u);
    EXPECT_FALSE(logic->IsHidden(note)) << "still open";
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile(1)), bytes);

    DeleteThroughItsWindow(note);
    EXPECT_TRUE(logic->Notes().empty());
    {
        HeldFile held(DeletedFile(1));
        EXPECT_EQ(logic->RestoreDeletedNote(DeletedFile(1)), nullptr);
    }
    EXPECT_TRUE(logic->Notes().empty());
    EXPECT_EQ(wintest::ReadFileBytes(NoteFile(1)), "<missing>");
    EXPECT_EQ(wintest::ReadFileBytes(DeletedFile(1)), bytes);
}

TEST_F(Deleted, AtStartOnlyTheNewestHundredAreKeptAndNoneIsLoaded)
{
    ::CreateDirectoryW(logic->NotesFolder().c_str(), nullptr);
    const std::wstring folder = DeletedFile(0).substr(0, DeletedFile(0).find_last_of(L'\\'));
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const SYSTEMTIME noon = {2002, 12, 0, 15, 12, 0, 0, 0};
    FILETIME time;
    ::SystemTimeToFileTime(&noon, &time);
    for (int n = 1; n <= 102; ++n) {
        wintest::WriteFileBytes(DeletedFile(n), FileWith("d"));
        // A minute older each: the highest numbers are the oldest.
        ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
        ticks.QuadPart -= 600000000ull;
        time = {ticks.LowPart, ticks.HighPart};
        HANDLE file = ::CreateFileW(DeletedFile(n).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        ::SetFileTime(file, nullptr, nullptr, &time);
        ::CloseHandle(file);
    }
    Start();
    EXPECT_TRUE(logic->Notes().empty()) << "deleted notes are not notes";
    for (int n = 1; n <= 102; ++n)
        EXPECT_EQ(wintest::ReadFileBytes(DeletedFile(n)) == "<missing>", n > 100) << n;
}

} // namespace
