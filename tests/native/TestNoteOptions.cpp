#include "core/NoteOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(NoteOptions, SideFileRoundTripsAndDamageCostsOnlyItsOwnLineOrField)
{
    SideFile file;
    file.notes["N261207 (1).pvl"] = NoteOptions{NoteLevel::Desktop, 70, 150, 12345};
    file.hotkeys.keys[1] = Hotkey{};
    file.hotkeys.toldTaken = 4;
    const std::string bytes = WriteSideFile(file);
    const SideFile back = ReadSideFile("\xEF\xBB\xBF" + bytes);
    ASSERT_EQ(back.notes.size(), 1u);
    const NoteOptions& read = back.notes.at("n261207 (1).PVL");
    EXPECT_TRUE(read.SameChoices(file.notes.begin()->second));
    EXPECT_EQ(read.stamp, 12345);
    EXPECT_EQ(back.hotkeys.keys, file.hotkeys.keys);
    EXPECT_EQ(back.hotkeys.toldTaken, 4u);
    EXPECT_EQ(WriteSideFile(back), bytes);

    // Bad values fall back field by field; a line without a usable name is dropped.
    const SideFile damaged = ReadSideFile("PINVELOPT 1\nnote\tA.pvl\tlevel=up\topacity=75\tzoom=150\n"
                                          "note\t..\\x.pvl\tzoom=200\nnote\nhotkeys\tnew=2,999\tfind=x\n"
                                          "note\tB.pvl\topacity=60\tzoom=9000\tcolour=red");
    ASSERT_EQ(damaged.notes.size(), 2u);
    EXPECT_TRUE(damaged.notes.at("A.pvl").SameChoices(NoteOptions{NoteLevel::Top, 100, 150, 0}));
    EXPECT_TRUE(damaged.notes.at("B.pvl").SameChoices(NoteOptions{NoteLevel::Top, 60, 100, 0}));
    EXPECT_EQ(damaged.hotkeys.keys, HotkeyOptions().keys);

    // Not a side file at all: every default.
    for (const char* other : {"", "PINVELOPT 2\nnote\tA.pvl\tzoom=200", "\xFF\xFE garbage"}) {
        const SideFile none = ReadSideFile(other);
        EXPECT_TRUE(none.notes.empty());
        EXPECT_EQ(none.hotkeys.keys, HotkeyOptions().keys);
    }
}

TEST(NoteOptions, ZoomStepsStayInRangeAndMultiplyTheScreensScaling)
{
    EXPECT_EQ(NextZoom(100, 1), 110);
    EXPECT_EQ(NextZoom(130, -1), 125);
    EXPECT_EQ(NextZoom(400, 1), 400);
    EXPECT_EQ(NextZoom(50, -1), 50);
    EXPECT_EQ(NextZoom(175, 0), 100);
    int n = -1, d = -1;
    EditorZoomRatio(100, 96, 96, n, d);
    EXPECT_EQ(n * 10 + d, 0);
    EditorZoomRatio(150, 144, 96, n, d); // 150 % on a 150 % screen of a 100 % system
    EXPECT_EQ(n * 4, d * 9);
    EditorZoomRatio(200, 96, 192, n, d);
    EXPECT_EQ(n * 10 + d, 0);
    EXPECT_EQ(OpacityAlpha(100), 255);
    EXPECT_EQ(OpacityAlpha(50), 128);
}

TEST(NoteOptions, HotkeysCrossTheControlWithTheirModifiers)
{
    const Hotkey key{kModControl | kModAlt, 'N'};
    EXPECT_EQ(ControlFromHotkey(key), (6u << 8) | 'N');
    EXPECT_EQ(HotkeyFromControl(ControlFromHotkey(key)), key);
    const Hotkey arrow{kModShift, 0x25};
    EXPECT_EQ(ControlFromHotkey(arrow), (9u << 8) | 0x25);
    EXPECT_EQ(HotkeyFromControl(ControlFromHotkey(arrow)), arrow);
    EXPECT_FALSE(HotkeyFromControl(6u << 8).IsSet());
    EXPECT_EQ(HotkeyText(key, "N"), "Ctrl+Alt+N");
}

} // namespace
