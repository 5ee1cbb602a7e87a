// Feeds arbitrary bytes to the settings-file reader: accepted files must round-trip
// word for word, refused ones must leave the look alone.
#include "core/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    NoteLook look;
    const std::string before = EncodeSettings(look);
    if (!DecodeSettings(file, look)) {
        if (EncodeSettings(look) != before)
            std::abort();
        return 0;
    }
    const std::string written = EncodeSettings(look);
    if (written.size() != kSettingsFileSize || written != file.substr(0, kSettingsFileSize))
        std::abort();
    return 0;
}
