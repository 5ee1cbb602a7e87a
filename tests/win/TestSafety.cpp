// Saves that fail, what is rescued at exit, earlier versions and backups.
#include "framework/Messages.h"
#include "framework/CommonDialogs.h"
#include "framework/File.h"
#include "framework/Handle.h"
#include "core/NoteFile.h"
#include "core/TextRules.h"
#include "framework/Strings.h"
#include "note/PinvelWnd.h"
#include "res/resource.h"
#include "store/PDeletedNotes.h"
#include "store/PHome.h"
#include "store/PNote.h"
#include "store/PVersions.h"
#include "text/PIconMenu.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"
#include "Pixels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using wintest::FakeClock;
using wintest::ShellCalls;

// A string of the table with its one number filled in.
std::wstring WithCount(UINT id, int count)
{
    std::wstring text = fw::LoadResStringW(id);
    return text.replace(text.find(L"%d"), 2, std::to_wstring(count));
}

class Safety : public wintest::LogicTest {
protected:
    void TearDown() override
    {
        if (!shutFolder.empty())
            Shut(shutFolder, false);
        PNote::SetMaxFileBytes(0);
        fw::SetWriteFunction(nullptr);
        fw::SetMessageBoxFunction(nullptr);
        fw::SetFolderDialogFunction(nullptr);
        LogicTest::TearDown();
    }
    void NextMinute()
    {
        ++FakeClock::minute;
        logic->SendMessage(WM_TIMER, 1, 0);
    }
    PNote* NoteWith(const char* text)
    {
        PNote* note = logic->NewNote();
        note->OpenEditor()->StreamInText(text, false);
        return note;
    }
    static void Type(PNote* note, const char* text)
    {
        note->OpenEditor()->StreamInText(text, false);
        note->Editor()->SendMessage(EM_SETMODIFY, TRUE);
    }
    static bool Holds(const std::wstring& path, const char* text)
    {
        return wintest::ReadFileBytes(path).find(text) != std::string::npos;
    }
    // Shuts a folder to new files, as its rights do to a copy under Program Files, or
    // opens it again. Wine keeps rights as a Unix mode, which root passes by: the folder's
    // immutable flag stands in, set by chattr, which Wine starts with no handle to wait on.
    bool Shut(const std::wstring& path, bool shut)
    {
        const auto unixName = reinterpret_cast<char*(CDECL*)(const wchar_t*)>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        if (unixName == nullptr)
            return false;
        std::wstring command = L"/usr/bin/chattr " + std::wstring(shut ? L"+i \"" : L"-i \"") +
                               fw::WideFromBytes(CP_UTF8, unixName(path.c_str())) + L"\"";
        STARTUPINFOW start = {sizeof(start)};
        PROCESS_INFORMATION started = {};
        shutFolder = shut ? path : std::wstring();
        return ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start, &started) &&
               wintest::PumpUntil([&] { return CanWriteFolder(path) != shut; }, 5000);
    }
    // Backs up as the user does: the tray's command, the folder picked in its dialog.
    void BackUp(const std::wstring& into)
    {
        static std::wstring chosen;
        chosen = into;
        fw::MakeFolder(into);
        fw::SetFolderDialogFunction([](HWND, const std::wstring&, std::wstring& picked) {
            picked = chosen;
            return true;
        });
        logic->Tray()->SendMessage(WM_COMMAND, ID_TRAY_BACKUP);
    }
    std::vector<std::wstring> Files(const std::wstring& folder) const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW((folder + L"\\*.pvl").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(found.cFileName);
        while (::FindNextFileW(search, &found));
        ::FindClose(search);
        return names;
    }
    // The caption's pixels at the left of the title, where a failed save shows its mark.
    static std::vector<COLORREF> MarkPixels(PinvelWnd* window)
    {
        const Box title = window->TitleRect();
        const wintest::Pixels pixels(window->GetHwnd());
        std::vector<COLORREF> seen;
        for (int y = title.top; y < title.bottom; ++y)
            for (int x = title.left; x < title.left + (title.bottom - title.top); ++x)
                seen.push_back(pixels.At(x, y));
        return seen;
    }
    static int Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
    {
        int n = 0;
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
            n += a[i] != b[i] ? 1 : 0;
        return n;
    }
    std::wstring shutFolder;
};

TEST_F(Safety, AFailedSaveIsToldOnceMarkedAndTriedEachMinuteUntilItWorks)
{
    PNote* note = NoteWith("typed on a full disk");
    PinvelWnd* window = logic->ShowNote(note);
    ASSERT_NE(window, nullptr);
    const std::vector<COLORREF> clean = MarkPixels(window);

    fw::SetWriteFunction(&wintest::DiskFullWrite);
    NextMinute();
    const std::vector<std::wstring> told = ShellCalls::TakeBalloons();
    ASSERT_EQ(told.size(), 1u);
    const std::wstring pattern = fw::LoadResStringW(IDS_SAVE_FAILED);
    const std::wstring start = L"!" + pattern.substr(0, pattern.find(L"%s")) + fw::WideFromText(note->GetTitle());
    EXPECT_EQ(told[0].rfind(start, 0), 0u) << "warns with the title first";
    EXPECT_GT(told[0].size(), fw::WideFromText(note->GetTitle()).size() + 10) << "with the system's reason";
    EXPECT_TRUE(note->SaveFailed());
    EXPECT_GT(Differing(MarkPixels(window), clean), 20) << "the caption shows the mark";

    NextMinute();
    EXPECT_TRUE(ShellCalls::TakeBalloons().empty()) << "told once";
    EXPECT_TRUE(note->HasUnsavedChanges());

    fw::SetWriteFunction(nullptr);
    NextMinute();
    EXPECT_TRUE(Holds(note->GetFilePath(), "typed on a full disk")) << "saved once there is room";
    EXPECT_FALSE(note->SaveFailed());
    EXPECT_EQ(Differing(MarkPixels(window), clean), 0);

    Type(note, "typed after");
    fw::SetWriteFunction(&wintest::DiskFullWrite);
    logic->HideNote(note);
    EXPECT_EQ(ShellCalls::TakeBalloons().size(), 1u) << "a new failure after a save is told again";
}

TEST_F(Safety, WhatCannotBeSavedAtExitIsRescuedAfterAskingAndComesBackAtTheNextStart)
{
    PNote* note = NoteWith("the old text");
    ASSERT_TRUE(note->Save());
    Type(note, "typed before exit");
    const std::wstring path = note->GetFilePath();
    HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    static std::string asked;
    static int answer = IDNO;
    fw::SetMessageBoxFunction([](HWND, const std::string& text, const std::string&, UINT) {
        asked = text;
        return answer;
    });
    logic->Tray()->SendMessage(WM_COMMAND, ID_TRAY_EXIT);
    EXPECT_EQ(fw::WideFromText(asked), WithCount(IDS_EXIT_UNSAVED, 1));
    ASSERT_TRUE(logic->IsWindow()) << "No keeps the program running";

    answer = IDYES;
    logic->Tray()->SendMessage(WM_COMMAND, ID_TRAY_EXIT);
    EXPECT_FALSE(logic->IsWindow());
    ::CloseHandle(held);
    const std::wstring rescue = PLogic::RescueFolder();
    ASSERT_EQ(Files(rescue).size(), 1u);
    EXPECT_TRUE(Holds(rescue + L"\\" + Files(rescue)[0], "typed before exit"));
    EXPECT_TRUE(Holds(path, "the old text")) << "the held file as it was";

    ShellCalls::TakeBalloons();
    Start();
    ASSERT_EQ(logic->Notes().size(), 2u);
    PNote* back = logic->Notes().back().get();
    EXPECT_NE(back->GetFilePath(), path) << "under a free name";
    EXPECT_TRUE(Holds(back->GetFilePath(), "typed before exit"));
    EXPECT_TRUE(Files(rescue).empty()) << "gone once the note is in the notes folder";
    EXPECT_FALSE(logic->IsHidden(back));
    EXPECT_EQ(ShellCalls::TakeBalloons(), std::vector<std::wstring>{WithCount(IDS_RESCUED, 1)});
}

// Chooses the newest of the note's earlier versions from its context menu, as a user
// does; returns what the submenu listed.
std::vector<std::string> ChooseNewestVersion(PinvelWnd* window)
{
    std::vector<std::string> listed;
    wintest::WhenReady([&] {
        PIconMenu* menu = window->ContextMenu();
        if (menu == nullptr)
            return false;
        HMENU popup = ::GetSubMenu(menu->GetHandle(), 0);
        for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
            HMENU sub = ::GetSubMenu(popup, i);
            const UINT first = sub != nullptr ? ::GetMenuItemID(sub, 0) : 0;
            if (first != ID_NOTE_VERSIONS && first != PinvelWnd::kFirstVersionCommand)
                continue;
            for (int j = 0; j < ::GetMenuItemCount(sub); ++j) {
                char text[128] = {};
                ::GetMenuStringA(sub, static_cast<UINT>(j), text, sizeof(text), MF_BYPOSITION);
                listed.push_back(text);
            }
            if (first == PinvelWnd::kFirstVersionCommand)
                ::PostMessageW(window->GetHwnd(), WM_COMMAND, first, 0);
        }
        ::EndMenu();
        return true;
    });
    window->SendMessage(WM_NOTE_CONTEXTMENU, 0xFFFF, 0xFFFF);
    wintest::PumpUntil([] { return false; }, 50);
    return listed;
}

// How the menu shows a UTC moment: on the local clock, by the zone's rules of its date.
std::string ShownAt(SYSTEMTIME utc)
{
    SYSTEMTIME local = {};
    ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return fw::Format("%d/%d %02d:%02d  (", local.wMonth, local.wDay, local.wHour, local.wMinute);
}

TEST_F(Safety, VersionsAreKeptByTheHoursThatHaveThemWhateverTheClockAndOneIsRestoredUndoably)
{
    FakeClock::utc = {2026, 12, 1, 7, 9, 0, 0, 0};
    PNote* note = NoteWith("v1");
    PinvelWnd* window = logic->ShowNote(note);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ChooseNewestVersion(window), std::vector<std::string>{"(\xC3\xBB\xD3\xD0)"}) << "(没有), greyed";
    ASSERT_TRUE(note->Save());
    const auto saveAt = [&](WORD year, WORD month, WORD day, WORD hour, WORD minute, const char* text) {
        FakeClock::utc = {year, month, 0, day, hour, minute, 0, 0};
        Type(note, text);
        ASSERT_TRUE(note->Save());
    };
    saveAt(2026, 12, 7, 9, 10, "v2");
    saveAt(2026, 12, 7, 9, 20, "v3");
    saveAt(2026, 12, 7, 11, 0, "v4");
    const std::wstring path = note->GetFilePath();
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    const PVersions versions(logic->NotesFolder());
    auto kept = versions.Of(name);
    ASSERT_EQ(kept.size(), 2u) << "the newest hour's one and the newest of nine o'clock";
    EXPECT_TRUE(Holds(kept[0].path, "v3"));
    EXPECT_TRUE(Holds(kept[1].path, "v2"));
    // As an earlier release named a version: by the local clock, without the "Z".
    const std::wstring history = kept[0].path.substr(0, kept[0].path.find_last_of(L'\\'));
    wintest::WriteFileBytes(history + L"\\" + name.substr(0, name.size() - 4) + L" 2026-12-05 083000.pvl", "v0");

    saveAt(2026, 12, 7, 16, 5, "v5");
    const std::vector<std::string> listed = ChooseNewestVersion(window);
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[0].rfind(ShownAt(FakeClock::utc), 0), 0u) << listed[0];
    EXPECT_EQ(listed[3].rfind("12/5 08:30  (", 0), 0u) << "shown as named: " << listed[3];
    EXPECT_EQ(wintest::ReadFileBytes(path).find("v5"), std::string::npos);
    EXPECT_TRUE(Holds(path, "v4")) << "restored and saved";
    ASSERT_EQ(ChooseNewestVersion(window).size(), 5u) << "the text it had is a version now, of the same second";
    EXPECT_TRUE(Holds(path, "v5")) << "going back is undone: of two versions of one second, the second is the newer";

    // A clock set years ahead, then years back, and the save after: every earlier
    // version stays, and the one written while the clock was back is kept.
    saveAt(2026, 12, 7, 17, 30, "v6");
    std::vector<std::wstring> earlier;
    for (const auto& entry : versions.Of(name))
        earlier.push_back(entry.path);
    ASSERT_EQ(earlier.size(), 5u);
    saveAt(2031, 1, 16, 16, 5, "v7");
    saveAt(2019, 3, 1, 8, 0, "v8");
    saveAt(2019, 3, 1, 8, 1, "v9");
    kept = versions.Of(name);
    ASSERT_EQ(kept.size(), 7u);
    EXPECT_TRUE(Holds(kept[0].path, "v6")) << "the years-ahead one on top";
    EXPECT_TRUE(Holds(kept[6].path, "v8")) << "the newest of the years-back hour";
    for (const std::wstring& one : earlier)
        EXPECT_TRUE(fw::FileExists(one)) << fw::TextFromWide(one);

    // A deleted note keeps its versions of both names until it is removed for good, and
    // they follow it to another name.
    logic->DeleteNote(note);
    versions.Rename(name, L"N991231 (1).pvl");
    EXPECT_FALSE(versions.HasAny(name));
    EXPECT_EQ(versions.Of(L"N991231 (1).pvl").size(), 7u);
    EXPECT_TRUE(fw::FileExists(history + L"\\N991231 (1) 2026-12-05 083000.pvl"));
    versions.Rename(L"N991231 (1).pvl", name);
    PDeletedNotes(logic->NotesFolder()).KeepNewest(0);
    EXPECT_FALSE(versions.HasAny(name));
    EXPECT_TRUE(Files(history).empty());
}

TEST_F(Safety, ABackupHoldsEveryNoteFileAsOnDiskAndEachNoteAsRtfUnderItsTitle)
{
    PNote* first = NoteWith("{\\rtf1 saved text}");
    first->SetTitle("a/b: c?");
    ASSERT_TRUE(first->Save());
    PNote* second = NoteWith("changed text");
    second->SetTitle("a/b: c?");
    // Its window settings go along, in the side file.
    second->m_options.opacity = 70;
    logic->NoteOptionsChanged(second);
    const std::wstring secondPath = second->GetFilePath();
    const std::wstring into = folder.Path() + L"backups";
    FakeClock::local = {2026, 12, 1, 7, 16, 5, 0, 0};
    BackUp(into);
    BackUp(into);
    const std::wstring made = into + L"\\Pinvel \x5907\x4EFD 2026-12-07 1605\\";
    ASSERT_TRUE(fw::FileExists(made + L"Pinvel.ini"));
    EXPECT_TRUE(fw::FileExists(into + L"\\Pinvel \x5907\x4EFD 2026-12-07 1605 (2)\\Pinvel.ini")) << "never into an earlier one";
    for (PNote* note : {first, second}) {
        const std::wstring name = note->GetFilePath().substr(note->GetFilePath().find_last_of(L'\\') + 1);
        EXPECT_EQ(wintest::ReadFileBytes(made + name), wintest::ReadFileBytes(note->GetFilePath()));
    }
    EXPECT_TRUE(Holds(made + L"a_b_ c_.rtf", "saved text"));
    EXPECT_TRUE(Holds(made + L"a_b_ c_ (1).rtf", "changed text"));

    // The backup's note files are notes to a fresh program folder.
    wintest::TempFolder fresh{"pinvel-restored"};
    ASSERT_TRUE(fw::MakeFolder(fresh.Path() + L"\x7B14\x8BB0"));
    std::vector<std::wstring> names = Files(made.substr(0, made.size() - 1));
    names.push_back(fw::LoadResStringW(IDS_OPTIONS_FILE));
    for (const std::wstring& name : names)
        ASSERT_TRUE(::CopyFileW((made + name).c_str(), (fresh.Path() + L"\x7B14\x8BB0\\" + name).c_str(), TRUE));
    PLogic::SetProgramFolder(fresh.Path());
    Start();
    ASSERT_EQ(logic->Notes().size(), 2u);
    for (const auto& note : logic->Notes()) {
        EXPECT_EQ(note->GetTitle(), "a/b: c?");
        const bool isSecond = FileNameOfPath(note->GetFilePath()) == FileNameOfPath(secondPath);
        EXPECT_EQ(note->m_options.opacity, isSecond ? 70 : 100);
    }
    logic.reset();
}

TEST_F(Safety, ABackupHoldsTheFilesThatDidNotLoadAndGoesOnPastWhatItCannotCopy)
{
    const std::wstring notes = logic->NotesFolder() + L"\\";
    // Written there by other programs; neither loads as a note.
    wintest::WriteFileBytes(notes + L"damaged.pvl", "PINVL damaged");
    wintest::WriteFileBytes(notes + L"large.pvl", EncodeNoteFile({}, std::string(5000, 'x')));
    PNote::SetMaxFileBytes(4000);
    Start();
    PNote* grown = NoteWith("{\\rtf1 last good}");
    grown->SetTitle("grown");
    ASSERT_TRUE(grown->Save());
    Type(grown, std::string(5000, 'y').c_str());
    PNote* held = NoteWith("held");
    held->SetTitle("held");
    ASSERT_TRUE(held->Save());
    const fw::Handle open(
        ::CreateFileW(held->GetFilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    static std::wstring told;
    fw::SetMessageBoxFunction([](HWND, const std::string& text, const std::string&, UINT) {
        told = fw::WideFromText(text);
        return IDOK;
    });
    BackUp(folder.Path() + L"backups");
    const std::wstring made = folder.Path() + L"backups\\Pinvel \x5907\x4EFD 2026-12-07 0941\\";
    for (const std::wstring& path : {notes + L"damaged.pvl", notes + L"large.pvl", grown->GetFilePath()})
        EXPECT_EQ(wintest::ReadFileBytes(made + FileNameOfPath(path)), wintest::ReadFileBytes(path)) << path;
    EXPECT_EQ(told.rfind(L"3 ", 0), 0u) << "the note files it holds";
    EXPECT_NE(told.find(L"\x201Cgrown\x201D"), std::wstring::npos) << "in as its last good file";
    EXPECT_NE(told.find(L"\x201Cheld\x201D"), std::wstring::npos) << "not copied";
}

TEST_F(Safety, NotesThatMovedToTheUsersFolderStayThereWhenTheProgramFolderCanBeWrittenAgain)
{
    // Installed under Program Files, with the notes an older version kept beside it.
    const std::wstring program = folder.Path() + L"Program Files\\Pinvel\\";
    ASSERT_TRUE(fw::MakeFolders(program + L"\x7B14\x8BB0"));
    wintest::WriteFileBytes(program + L"\x7B14\x8BB0\\N261201 (1).pvl", EncodeNoteFile({}, "{\\rtf1 old}"));
    if (!Shut(program, true))
        GTEST_SKIP() << "no folder can be shut to new files here";
    PLogic::SetProgramFolder(program);
    Start();
    ASSERT_EQ(logic->NotesFolder(), folder.Path() + L"roaming\\Pinvel\\\x7B14\x8BB0") << "the user's folder";
    ASSERT_EQ(logic->Notes().size(), 1u);
    Type(logic->Notes().front().get(), "{\\rtf1 edited}");
    ASSERT_TRUE(logic->Notes().front()->Save());

    // Run as administrator, and named in other letters: the folder can be written now.
    ASSERT_TRUE(Shut(program, false));
    PLogic::SetProgramFolder(folder.Path() + L"PROGRAM FILES\\PINVEL\\");
    Start();
    ASSERT_EQ(logic->Notes().size(), 1u);
    EXPECT_TRUE(Holds(logic->Notes().front()->GetFilePath(), "edited")) << "the notes the user edited";

    // A copy that was always writable keeps its notes beside itself.
    PLogic::SetProgramFolder(folder.Path());
    Start();
    EXPECT_EQ(logic->NotesFolder(), folder.Path() + L"\x7B14\x8BB0");
}

} // namespace
