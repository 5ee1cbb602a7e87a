#include "File.h"

#include "Handle.h"

#include <windows.h>

#include <algorithm>

namespace fw {

bool ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return false;
    std::string data(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
        if (!::ReadFile(file.Get(), &data[done], want, &got, nullptr))
            return false;
        if (got == 0)
            break; // the file shrank meanwhile: keep what is there
        done += got;
    }
    data.resize(done);
    bytes.swap(data);
    return true;
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes)
{
    const std::string temp = path + ".new";
    {
        Handle file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
        if (!file.IsValid())
            return false;
        std::size_t done = 0;
        while (done < bytes.size()) {
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
            if (!::WriteFile(file.Get(), bytes.data() + done, want, &put, nullptr) || put == 0) {
                file.Reset();
                ::DeleteFileA(temp.c_str());
                return false;
            }
            done += put;
        }
        if (!::FlushFileBuffers(file.Get())) {
            file.Reset();
            ::DeleteFileA(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

} // namespace fw
