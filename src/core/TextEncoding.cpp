#include "TextEncoding.h"

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

bool IsWellFormedUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        char32_t least = 0;
        char32_t value = lead;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            least = 0x10000;
            value = lead & 0x07;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            least = 0x800;
            value = lead & 0x0F;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            least = 0x80;
            value = lead & 0x1F;
        } else if (lead >= 0x80) {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(next))
                return false;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

DetectedEncoding DetectTextEncoding(std::string_view bytes)
{
    if (StartsWith(bytes, "\xFF\xFE"))
        return {TextEncoding::Utf16LittleEndian, 2};
    if (StartsWith(bytes, "\xFE\xFF"))
        return {TextEncoding::Utf16BigEndian, 2};
    const bool marked = StartsWith(bytes, "\xEF\xBB\xBF");
    const std::string_view text = bytes.substr(marked ? 3 : 0);
    if (!IsWellFormedUtf8(text))
        return {};
    if (marked)
        return {TextEncoding::Utf8, 3};
    // All ASCII reads the same either way: the code page, as it always was.
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return {TextEncoding::Utf8, 0};
    }
    return {};
}
