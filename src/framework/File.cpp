#include "File.h"

#include "Handle.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace fw {

namespace {

ReadFunction g_read = &::ReadFile;
WriteFunction g_write = &::WriteFile;
ReplacedFunction g_replaced = nullptr;

FileState StateOfHandle(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info))
        return FileState();
    FileState state;
    state.exists = true;
    state.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    state.written = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                    info.ftLastWriteTime.dwLowDateTime;
    return state;
}

// Room kept below MAX_PATH for what a call adds to a path: the temporary file's name.
constexpr std::size_t kShortPathLimit = MAX_PATH - 40;

// Makes the temporary file a replacement is written to, beside the target, under a name
// that belongs to no one else: "~", the target's name, a part unique to this process and
// moment, ".tmp". Created only if new, so no other file is ever overwritten; folder-sync
// programs leave such names alone.
Handle CreateTemporaryBeside(const std::wstring& path, std::wstring& temp)
{
    static unsigned counter = 0;
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t unique[32];
        ::wsprintfW(unique, L".%lx%lx%x.tmp", ::GetCurrentProcessId(), ::GetTickCount(), ++counter);
        temp = LongPath(folder + L"~" + name + unique);
        Handle file(
            ::CreateFileW(temp.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsValid() || ::GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return Handle();
}

// Removes a temporary file after a failure, keeping the failure's own error code: the
// caller tells the user why the save failed, not why a clean-up did.
bool DiscardTemporary(Handle& file, const std::wstring& temp)
{
    const DWORD error = ::GetLastError();
    file.Reset();
    ::DeleteFileW(temp.c_str());
    ::SetLastError(error != 0 ? error : ERROR_WRITE_FAULT);
    return false;
}

} // namespace

std::wstring LongPath(const std::wstring& path)
{
    if (path.size() < kShortPathLimit || path.compare(0, 4, L"\\\\?\\") == 0)
        return path;
    // The long form is taken as it is: it must be complete and normalised first.
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

void SetReadFunction(ReadFunction function)
{
    g_read = function != nullptr ? function : &::ReadFile;
}

void SetWriteFunction(WriteFunction function)
{
    g_write = function != nullptr ? function : &::WriteFile;
}

void SetReplacedFunction(ReplacedFunction function)
{
    g_replaced = function;
}

namespace {

bool ReadWhole(const std::wstring& path, std::string& bytes, std::size_t maxBytes, bool othersMayWrite,
               FileState* state)
{
    const DWORD share = othersMayWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
    Handle file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return false;
    std::string data;
    try {
        data.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false; // no room for it now: treated like a file that cannot be read
    }
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
        if (!g_read(file.Get(), &data[done], want, &got, nullptr))
            return false;
        if (got == 0)
            break; // the file shrank meanwhile: keep what is there
        done += got;
    }
    data.resize(done);
    if (state != nullptr)
        *state = StateOfHandle(file.Get());
    bytes.swap(data);
    return true;
}

} // namespace

bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes, bool othersMayWrite)
{
    return ReadWhole(path, bytes, maxBytes, othersMayWrite, nullptr);
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes, FileState& state)
{
    return ReadWhole(path, bytes, maxBytes, false, &state);
}

bool ReadFileStart(const std::wstring& path, std::string& bytes, std::size_t count)
{
    Handle file(::CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    std::string data(count, '\0');
    DWORD got = 0;
    if (!g_read(file.Get(), data.data(), static_cast<DWORD>(count), &got, nullptr))
        return false;
    data.resize(got);
    bytes.swap(data);
    return true;
}

bool ReplaceFileContents(const std::wstring& path, const std::string& bytes)
{
    FileState written;
    return ReplaceFileContents(path, bytes, written);
}

bool ReplaceFileContents(const std::wstring& path, const std::string& bytes, FileState& written)
{
    std::wstring temp;
    {
        Handle file = CreateTemporaryBeside(path, temp);
        if (!file.IsValid())
            return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            if (!g_write(file.Get(), bytes.data() + done, want, &put, nullptr))
                return DiscardTemporary(file, temp);
            if (put == 0) {
                ::SetLastError(ERROR_DISK_FULL);
                return DiscardTemporary(file, temp);
            }
            done += put;
        }
        if (!::FlushFileBuffers(file.Get()))
            return DiscardTemporary(file, temp);
        // The time of the last write is set here, so that closing the handle cannot move
        // it: the state kept is the one the file has once it is in place.
        written = StateOfHandle(file.Get());
        if (written.exists) {
            const FILETIME time = {static_cast<DWORD>(written.written), static_cast<DWORD>(written.written >> 32)};
            ::SetFileTime(file.Get(), nullptr, nullptr, &time);
        }
    }
    if (!::MoveFileExW(temp.c_str(), LongPath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        Handle none;
        return DiscardTemporary(none, temp);
    }
    if (g_replaced != nullptr)
        g_replaced(path);
    return true;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolder(const std::wstring& path)
{
    return ::CreateDirectoryW(LongPath(path).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool MakeFolders(const std::wstring& path)
{
    std::wstring folder = path;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    if (folder.empty() || FileExists(folder))
        return !folder.empty();
    const std::size_t slash = folder.find_last_of(L"\\/");
    if (slash != std::wstring::npos && slash > 2)
        MakeFolders(folder.substr(0, slash));
    return MakeFolder(folder);
}

} // namespace fw
