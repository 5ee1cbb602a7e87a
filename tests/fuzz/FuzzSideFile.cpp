// Feeds arbitrary bytes to the side-file reader: whatever it makes of them must write
// out as a file that reads back as the same thing.
#include "core/NoteOptions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SideFile first = ReadSideFile(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = WriteSideFile(first);
    if (WriteSideFile(ReadSideFile(written)) != written)
        std::abort();
    return 0;
}
