#include "framework/File.h"
#include "WinTestUtil.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

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

TEST_F(ScratchFolder, FailedReplaceKeepsTheOldFile)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + L"a.bin", "old contents"));
    // The temporary file cannot be made when a folder stands in its place.
    ASSERT_TRUE(::CreateDirectoryW((folder + L"a.bin.new").c_str(), nullptr));
    EXPECT_FALSE(fw::ReplaceFileContents(folder + L"a.bin", "new contents"));
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + L"a.bin", back));
    EXPECT_EQ(back, "old contents");
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
