#include "core/ByteIO.h"
#include "core/NoteFile.h"
#include "core/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint32_t U32At(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

double F64At(const std::string& s, std::size_t at)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    double v;
    std::memcpy(&v, &bits, sizeof(v));
    return v;
}

NoteFields SampleFields()
{
    NoteFields f;
    f.title = "\xb1\xca\xbc\xc7 7"; // 笔记 7
    f.userName = "alice";
    f.stamp0 = DateTime::FromValue(37605.5);
    f.stamp1 = DateTime::FromValue(-1.25);
    f.look.scheme = 3;
    f.look.background = 0x00112233;
    f.look.edge = 0x00445566;
    f.look.border = 0x00778899;
    f.look.infoKind = 4;
    f.look.rect = {-10, 20, 3000, 4000};
    f.alarms.general[0].enabled = true;
    f.alarms.general[0].sound = false;
    f.alarms.general[0].when = DateTime::FromValue(40000.25);
    f.alarms.weekly[5].weekday = 7;
    f.alarms.monthly[2].day = 31;
    f.alarms.yearly[1].day = 29;
    f.alarms.yearly[1].month = 2;
    f.alarms.yearly[1].enabled = true;
    return f;
}

TEST(NoteFile, LaidOutByteForByte)
{
    const NoteFields f = SampleFields();
    const std::string rtf = "{\\rtf1 hi}";
    const std::string file = EncodeNoteFile(f, rtf);
    const std::size_t T = f.title.size(), U = f.userName.size();
    ASSERT_EQ(file.size(), kNoteFileFixedSize + T + U + rtf.size());
    EXPECT_EQ(file.substr(0, 5), "PINVL");
    EXPECT_EQ(U32At(file, 5), 1u);
    EXPECT_EQ(U32At(file, 9), T);
    EXPECT_EQ(file.substr(13, T), f.title);
    EXPECT_EQ(U32At(file, 13 + T), U);
    const std::size_t b = 17 + T + U; // everything after the two strings
    EXPECT_EQ(F64At(file, b), 37605.5);
    EXPECT_EQ(F64At(file, b + 8), -1.25);
    // Look: background, border, edge, infoKind, scheme, rect.
    EXPECT_EQ(U32At(file, b + 16), 0x00112233u);
    EXPECT_EQ(U32At(file, b + 20), 0x00778899u);
    EXPECT_EQ(U32At(file, b + 24), 0x00445566u);
    EXPECT_EQ(U32At(file, b + 28), 4u);
    EXPECT_EQ(U32At(file, b + 32), 3u);
    EXPECT_EQ(static_cast<std::int32_t>(U32At(file, b + 36)), -10);
    EXPECT_EQ(U32At(file, b + 48), 4000u);
    // Alarm block: sound before enabled; general slot 1 first.
    const std::size_t a = 69 + T + U;
    EXPECT_EQ(file[a], 0) << "sound off";
    EXPECT_EQ(file[a + 1], 1) << "enabled";
    EXPECT_EQ(F64At(file, a + 2), 40000.25);
    EXPECT_EQ(file[a + 10], 1) << "slot 2 keeps the default sound on";
    EXPECT_EQ(U32At(file, a + 120 + 5 * 14 + 10), 7u) << "weekly slot 6 weekday";
    EXPECT_EQ(U32At(file, a + 204 + 2 * 14 + 10), 31u) << "monthly slot 3 day";
    EXPECT_EQ(U32At(file, a + 288 + 18 + 10), 29u) << "yearly day before month";
    EXPECT_EQ(U32At(file, a + 288 + 18 + 14), 2u);
    EXPECT_EQ(U32At(file, a + 396), rtf.size());
    EXPECT_EQ(file.substr(a + 400), rtf);
}

TEST(NoteFile, RoundTripsEveryField)
{
    const NoteFields f = SampleFields();
    const std::string file = EncodeNoteFile(f, "text");
    NoteFields back;
    std::size_t textAt = 0;
    ASSERT_TRUE(DecodeNoteFields(file, back, textAt));
    std::string_view rtf;
    ASSERT_TRUE(DecodeNoteText(file, textAt, rtf));
    EXPECT_EQ(rtf, "text");
    EXPECT_EQ(EncodeNoteFile(back, rtf), file);
}

// Only a 64-bit build can hold such a text; its length word would wrap to a few bytes.
// The writer refuses it from its length alone, before reading any of it.
TEST(NoteFile, ATextOfFourGigabytesOrMoreIsRefusedNotWrapped)
{
    if (sizeof(std::size_t) < 8)
        GTEST_SKIP() << "a 32-bit build cannot hold 4 GiB";
    const char byte = 'x';
    const std::string_view huge(&byte, std::size_t{UINT32_MAX} + 1);
    EXPECT_EQ(EncodeNoteFile(SampleFields(), huge), "");
}

TEST(NoteFile, EmptyStringsAndTextTakeNoBytes)
{
    NoteFields f;
    f.title.clear();
    const std::string file = EncodeNoteFile(f, "");
    EXPECT_EQ(file.size(), kNoteFileFixedSize + f.userName.size());
    NoteFields back;
    back.title = "kept";
    std::size_t textAt = 0;
    ASSERT_TRUE(DecodeNoteFields(file, back, textAt));
    EXPECT_EQ(back.title, "") << "the codec reports an empty title; the record decides to keep its own";
    std::string_view rtf = "x";
    ASSERT_TRUE(DecodeNoteText(file, textAt, rtf));
    EXPECT_EQ(rtf, "");
}

TEST(NoteFile, AnyNonZeroFlagByteIsOn)
{
    std::string file = EncodeNoteFile(NoteFields(), "");
    const std::size_t a = 69 + NoteFields().userName.size() + NoteFields().title.size();
    file[a] = 0;        // sound off
    file[a + 1] = 0x7F; // enabled, written by something else
    NoteFields back;
    std::size_t textAt = 0;
    ASSERT_TRUE(DecodeNoteFields(file, back, textAt));
    EXPECT_FALSE(back.alarms.general[0].sound);
    EXPECT_TRUE(back.alarms.general[0].enabled);
}

TEST(NoteFile, ForeignOrDamagedFilesAreRefusedAndChangeNothing)
{
    const NoteFields f = SampleFields();
    const std::string good = EncodeNoteFile(f, "{\\rtf1 abc}");
    std::string wrongMagic = good;
    wrongMagic[4] = 'X';
    std::string version2 = good;
    version2[5] = 2;
    std::string hugeTitle = good;
    hugeTitle.replace(9, 4, "\xff\xff\xff\xff");

    for (const std::string& bad : {wrongMagic, version2, hugeTitle, std::string(), std::string("PINVL")}) {
        NoteFields untouched;
        untouched.title = "mine";
        std::size_t textAt = 12345;
        EXPECT_FALSE(DecodeNoteFields(bad, untouched, textAt));
        EXPECT_EQ(untouched.title, "mine");
        EXPECT_EQ(textAt, 12345u);
    }
    // Every cut inside the fields is refused; a cut inside the text is refused by the
    // text reader alone, so the header can still be listed.
    const std::size_t textAt0 = good.size() - 4 - 11;
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        NoteFields out;
        std::size_t textAt = 0;
        const std::string shortFile = good.substr(0, cut);
        const bool fields = DecodeNoteFields(shortFile, out, textAt);
        EXPECT_EQ(fields, cut >= textAt0 + 4) << cut;
        std::string_view rtf;
        if (fields)
            EXPECT_FALSE(DecodeNoteText(shortFile, textAt, rtf)) << cut;
    }
    std::string hugeText = good;
    hugeText.replace(textAt0, 4, "\xff\xff\xff\xff");
    NoteFields out;
    std::size_t textAt = 0;
    ASSERT_TRUE(DecodeNoteFields(hugeText, out, textAt));
    std::string_view rtf;
    EXPECT_FALSE(DecodeNoteText(hugeText, textAt, rtf));
    EXPECT_FALSE(DecodeNoteText(good, good.size() + 1, rtf));
}

TEST(SettingsFile, FortySixBytesInTheNoteFilesLookOrder)
{
    NoteLook look;
    look.scheme = -1;
    look.background = 1;
    look.edge = 2;
    look.border = 3;
    look.infoKind = 77;
    look.rect = {1, 2, 3, 4};
    const std::string file = EncodeSettings(look);
    ASSERT_EQ(file.size(), kSettingsFileSize);
    EXPECT_EQ(file.substr(0, 6), "PLOGIC");
    EXPECT_EQ(U32At(file, 6), 1u);
    EXPECT_EQ(U32At(file, 10), 1u) << "background";
    EXPECT_EQ(U32At(file, 14), 3u) << "border before edge";
    EXPECT_EQ(U32At(file, 18), 2u);
    EXPECT_EQ(U32At(file, 22), 77u);
    EXPECT_EQ(U32At(file, 26), 0xFFFFFFFFu);
    EXPECT_EQ(U32At(file, 42), 4u);

    NoteLook back;
    ASSERT_TRUE(DecodeSettings(file + "trailing bytes are ignored", back));
    EXPECT_EQ(EncodeSettings(back), file);
}

TEST(SettingsFile, ForeignVersionOrShortFileKeepsTheDefaults)
{
    const std::string good = EncodeSettings(NoteLook{5, 1, 2, 3, 0, {9, 9, 9, 9}});
    std::string version2 = good;
    version2[6] = 2;
    std::string magic = good;
    magic[0] = 'p';
    for (const std::string& bad : {version2, magic, good.substr(0, 45), std::string()}) {
        NoteLook look;
        EXPECT_FALSE(DecodeSettings(bad, look));
        EXPECT_EQ(EncodeSettings(look), EncodeSettings(NoteLook())) << "untouched defaults";
    }
}

} // namespace
