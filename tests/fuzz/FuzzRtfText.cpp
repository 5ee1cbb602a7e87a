// Feeds arbitrary bytes to the RTF reader, which reads the text of every stored note a
// search looks at. It must end, stay inside its input, and give no more characters than
// two for each byte read.
#include "core/RtfText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

std::u16string Decode(unsigned, std::string_view bytes)
{
    return std::u16string(bytes.size(), u'?');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text = RtfPlainText(std::string_view(reinterpret_cast<const char*>(data), size), Decode);
    if (text.size() > 2 * size)
        std::abort();
    return 0;
}
