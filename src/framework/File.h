#pragma once
#include "../core/FolderSync.h"

#include <windows.h>

#include <string>

namespace fw {

// Reads a whole file, opened for reading while others may not write to it unless
// othersMayWrite. False when it cannot be opened or read, or holds more than maxBytes;
// bytes is then unchanged.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes = 256u * 1024 * 1024,
                   bool othersMayWrite = false);
// The same, with the state of the file that was read, taken from the handle that read it:
// a change that lands a moment later is another state, never mistaken for this one.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes, FileState& state);

// Reads at most the first count bytes of a file, which others may write to meanwhile.
// False when it cannot be opened or read; bytes is then unchanged.
bool ReadFileStart(const std::wstring& path, std::string& bytes, std::size_t count);

// Replaces a file's contents in one step: the bytes go to a new temporary file beside
// it ("~name.unique.tmp", never another file's), which then takes the file's place. A
// failure at any point leaves the old file as it was, so a full disk or a crash during
// a save never costs the only copy.
bool ReplaceFileContents(const std::wstring& path, const std::string& bytes);
// The same, with the state of the file as written, taken from the handle that wrote it.
bool ReplaceFileContents(const std::wstring& path, const std::string& bytes, FileState& written);

// A path the wide file functions take at any length: a long one in its "\\?\" form.
std::wstring LongPath(const std::wstring& path);

// Paths of the program's own files; every file operation goes through the wide functions.
bool FileExists(const std::wstring& path);
bool MakeFolder(const std::wstring& path);
// The folder and every folder above it that is missing.
bool MakeFolders(const std::wstring& path);

// For tests: what reads and writes a file's bytes (ReadFile and WriteFile unless
// replaced; null restores them).
using ReadFunction = BOOL(WINAPI*)(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD read, LPOVERLAPPED overlapped);
using WriteFunction = BOOL(WINAPI*)(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written,
                                    LPOVERLAPPED overlapped);
void SetReadFunction(ReadFunction function);
void SetWriteFunction(WriteFunction function);
// For tests: called with the path once a replacement has taken the file's place, as
// another program might write it just then (null: nothing).
using ReplacedFunction = void (*)(const std::wstring& path);
void SetReplacedFunction(ReplacedFunction function);

} // namespace fw
