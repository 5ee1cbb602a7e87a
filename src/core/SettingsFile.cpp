#include "SettingsFile.h"

#include "ByteIO.h"
#include "NoteFile.h"

namespace {
constexpr char kMagic[] = "PLOGIC";
constexpr std::uint32_t kVersion = 1;
} // namespace

std::string EncodeSettings(const NoteLook& look)
{
    ByteWriter out;
    out.Bytes(std::string_view(kMagic, 6));
    out.U32(kVersion);
    WriteLook(out, look);
    return out.Take();
}

bool DecodeSettings(std::string_view file, NoteLook& look)
{
    // A short file is treated as foreign as a whole, rather than half applied.
    if (file.size() < kSettingsFileSize)
        return false;
    ByteReader in(file.substr(0, kSettingsFileSize));
    if (!in.Header(std::string_view(kMagic, 6), kVersion))
        return false;
    NoteLook read;
    if (!ReadLook(in, read))
        return false;
    look = read;
    return true;
}
