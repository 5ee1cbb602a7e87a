#include "framework/File.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A scratch folder under the temporary folder, removed with its files afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "pinvel-file-test-" + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        for (const char* name : {"a.bin", "a.bin.new\\inner", "a.bin.new", "big.bin"}) {
            ::DeleteFileA((folder + name).c_str());
            ::RemoveDirectoryA((folder + name).c_str());
        }
        ::RemoveDirectoryA(folder.c_str());
    }
    std::string folder;
};

TEST_F(ScratchFolder, ReplaceWritesAndReadsBackEveryByte)
{
    std::string bytes;
    for (int i = 0; i < 3 * 1024 * 1024 + 7; ++i)
        bytes.push_back(static_cast<char>(i * 31));
    ASSERT_TRUE(fw::ReplaceFileContents(folder + "big.bin", bytes));
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + "big.bin", back));
    EXPECT_EQ(back, bytes);
    EXPECT_FALSE(fw::ReadWholeFile(folder + "big.bin", back, 1024)) << "larger than allowed";
    EXPECT_EQ(back, bytes) << "a refused read leaves the buffer alone";
}

TEST_F(ScratchFolder, FailedReplaceKeepsTheOldFile)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + "a.bin", "old contents"));
    // The temporary file cannot be made when a folder stands in its place.
    ASSERT_TRUE(::CreateDirectoryA((folder + "a.bin.new").c_str(), nullptr));
    EXPECT_FALSE(fw::ReplaceFileContents(folder + "a.bin", "new contents"));
    std::string back;
    ASSERT_TRUE(fw::ReadWholeFile(folder + "a.bin", back));
    EXPECT_EQ(back, "old contents");
}

TEST_F(ScratchFolder, ReplaceIntoAMissingFolderFails)
{
    EXPECT_FALSE(fw::ReplaceFileContents(folder + "missing\\a.bin", "x"));
    std::string back = "kept";
    EXPECT_FALSE(fw::ReadWholeFile(folder + "missing\\a.bin", back));
    EXPECT_EQ(back, "kept");
}

TEST_F(ScratchFolder, ReadingWhileAnotherWriterHoldsTheFileIsRefused)
{
    ASSERT_TRUE(fw::ReplaceFileContents(folder + "a.bin", "abc"));
    HANDLE writer = ::CreateFileA((folder + "a.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string back;
    EXPECT_FALSE(fw::ReadWholeFile(folder + "a.bin", back)) << "others may not write while we read";
    ::CloseHandle(writer);
    EXPECT_TRUE(fw::ReadWholeFile(folder + "a.bin", back));
}

} // namespace
