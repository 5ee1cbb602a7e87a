// Feeds arbitrary bytes to the RTF reader, which reads the text of every stored note a
// search looks at. It must end, stay inside its input, and give no more characters than
// two for each byte read. The beginning a long note shows first must be a prefix of the
// text, closed, and within the bytes asked for.
#include "core/RtfBeginning.h"
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
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    const std::string beginning = RtfBeginning(rtf, size / 2);
    if (!beginning.empty() &&
        (beginning.size() > size / 2 + 1 || beginning.back() != '}' ||
         rtf.substr(0, beginning.size() - 1) != std::string_view(beginning).substr(0, beginning.size() - 1)))
        std::abort();
    return 0;
}
