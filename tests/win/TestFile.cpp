#include "framework/File.h"
#include "WinTestUtil.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A scratch folder whose name no ANSI code page holds whole (Korean and Chinese): every
// file operation must go through the wide functions to find it.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)); }
    void TearDown() override { wintest::RemoveTree(folder.substr(0, folder.size() - 1)); }
    wintest::TempFolder scratch{"pinvel-file-test"};
    const std::wstring folder = scratch.Path() + L"\uD55C\u7B14\\";
};

TEST_F(ScratchFolder, ReplaceWritesAndReadsBackEveryByte)
{
    std::string bytes;
    for (int i = 0; i < 3 * 1024 * 1024 + 7; ++i)
        bytes.push_back(static_cast<char>(i * 31));
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"big.bin", bytes));
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + L"big.bin", back));
    EXPECT_EQ(back, bytes);
    EXPECT_FALSE(fw::ReadWholeFile(folder + L"big.bin", back, 1024)) << "larger than allowed";
    EXPECT_EQ(back, bytes) << "a refused read leaves the buffer alone";
}

std::vector<std::wstring> Listing(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(fw::LongPath(folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.cFileName[0] != L'.')
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(ScratchFolder, FailedReplaceKeepsTheOldFileAndLeavesNothingBehind)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"a.bin", "old contents"));
    fw::SetWriteFunction(&wintest::DiskFullWrite);
    EXPECT_FALSE(fw::ReplaceFileContents(folder + L"a.bin", "new contents"));
    fw::SetWriteFunction(nullptr);
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + L"a.bin", back));
    EXPECT_EQ(back, "old contents");
    EXPECT_EQ(Listing(folder), std::vector<std::wstring>{L"a.bin"});
}

// The temporary file's name belongs to no other file, and a path past MAX_PATH (a deep
// program folder, an export into one) is written and read like any other.
TEST_F(ScratchFolder, ReplaceTouchesNoNeighbourAndTakesLongPaths)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"report.rtf.new", "someone else's"));
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"report.rtf", "exported"));
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + L"report.rtf.new", back));
    EXPECT_EQ(back, "someone else's");
    EXPECT_EQ(Listing(folder), (std::vector<std::wstring>{L"report.rtf", L"report.rtf.new"}));

    std::wstring deep = folder;
    while (deep.size() < 300) {
        deep += std::wstring(40, L'd') + L"\\";
        ASSERT_TRUE(fw::MakeFolder(deep));
    }
    ASSERT_TRUE(fw::ReplaceFileContents(deep + L"N261208 (1).pvl", "deep note"));
    EXPECT_TRUE(fw::FileExists(deep + L"N261208 (1).pvl"));
    ASSERT_TRUE(fw::ReadWholeFile(deep + L"N261208 (1).pvl", back));
    EXPECT_EQ(back, "deep note");
    EXPECT_EQ(Listing(deep), std::vector<std::wstring>{L"N261208 (1).pvl"});
}

TEST_F(ScratchFolder, ReplaceIntoAMissingFolderFails)
{
    EXPECT_FALSE(fw::ReplaceFileContents(folder + L"missing\\a.bin", "x"));
    std::string back = "kept";
    EXPECT_FALSE(fw::ReadWholeFile(folder + L"missing\\a.bin", back));
    EXPECT_EQ(back, "kept");
}

TEST_F(ScratchFolder, ReadingWhileAnotherWriterHoldsTheFileIsRefused)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"a.bin", "abc"));
    HANDLE writer = ::CreateFileW((folder + L"a.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string back;
    EXPECT_FALSE(fw::ReadWholeFile(folder + L"a.bin", back)) << "others may not write while we read";
    ::CloseHandle(writer);
    EXPECT_TRUE(fw::ReadWholeFile(folder + L"a.bin", back));
}

} // namespace
