// The notes folder as a folder-sync program changes it under the running program: the
// files here are written the way another program writes them, beside the logic window.
#include "core/NoteFile.h"
#include "store/PLogic.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"
#include "LogicTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

class Sync : public wintest::LogicTest {
protected:
    std::wstring File(const std::wstring& name) const { return logic->NotesFolder() + L"\\" + name; }
    static std::string NoteBytes(const std::string& title, const std::string& words)
    {
        NoteFields fields;
        fields.title = title;
        fields.look.rect = {10, 20, 310, 220};
        return EncodeNoteFile(fields, "{\\rtf1 " + words + "}");
    }
    static std::string Text(PNote* note)
    {
        std::string text;
        note->OpenEditor()->StreamOutText(text, false);
        return text;
    }
    PNote* Titled(const std::string& start) const
    {
        for (const auto& note : logic->Notes()) {
            if (note->GetTitle().rfind(start, 0) == 0)
                return note.get();
        }
        return nullptr;
    }
    static void Type(PNote* note, const char* words)
    {
        ::SendMessageA(note->Editor()->GetHwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(words));
    }
};

TEST_F(Sync, ChangesFromAnotherComputerAreTakenAndNothingTypedOnEitherSideIsLost)
{
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "first"));
    wintest::WriteFileBytes(File(L"N261207 (2).pvl"), NoteBytes("list", "milk"));
    Start();
    PNote* plan = Titled("plan");
    PNote* list = Titled("list");
    ASSERT_TRUE(plan && list);
    ASSERT_NE(logic->ShowNote(plan), nullptr);
    logic->ShowNote(list);
    logic->HideNote(list);

    // Changed there, unchanged here: the open note takes it.
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "second"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Text(plan).find("second") != std::string::npos; }, 10000));

    // Changed on both sides: what was typed here becomes a note of its own beside it.
    Type(plan, "typed here ");
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "third"));
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("plan (\xB3\xE5\xCD\xBB ") != nullptr; }, 10000)); // 冲突
    PNote* copy = Titled("plan (\xB3\xE5\xCD\xBB ");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(Text(copy).find("typed here"), std::string::npos);
    EXPECT_NE(Text(plan).find("third"), std::string::npos);
    EXPECT_FALSE(logic->IsHidden(copy)) << "shown next to it";

    // A save about to write over a file changed a moment ago keeps both as well.
    Type(plan, "more typing ");
    wintest::WriteFileBytes(File(L"N261207 (1).pvl"), NoteBytes("plan", "fourth"));
    logic->HideNote(plan);
    EXPECT_NE(wintest::ReadFileBytes(File(L"N261207 (1).pvl")).find("fourth"), std::string::npos);
    const auto copies = std::count_if(logic->Notes().begin(), logic->Notes().end(), [&](const auto& note) {
        return note->GetTitle().rfind("plan (", 0) == 0 && Text(note.get()).find("more typing") != std::string::npos;
    });
    EXPECT_EQ(copies, 1);

    // A new file is a note; one removed there leaves the list, into the deleted notes.
    const std::size_t before = logic->Notes().size();
    wintest::WriteFileBytes(File(L"N261207 (1).sync-conflict-20261207-160512-ABCDEFG.pvl"), NoteBytes("plan", "x"));
    ::DeleteFileW(File(L"N261207 (2).pvl").c_str());
    EXPECT_TRUE(wintest::PumpUntil([&] { return Titled("list") == nullptr && logic->Notes().size() == before; }, 10000));
    EXPECT_NE(wintest::ReadFileBytes(File(L"\x5DF2\x5220\x9664\\N261207 (2).pvl")).find("milk"), std::string::npos);

    // A damaged file is left alone and looked at again only once it changes.
    wintest::WriteFileBytes(File(L"N261207 (9).pvl"), "PINVL");
    wintest::PumpUntil([] { return false; }, 3000);
    EXPECT_EQ(logic->Notes().size(), before);
}

} // namespace
