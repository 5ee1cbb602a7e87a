#pragma once
#include <cstddef>
#include <string_view>

// How the bytes of a text file hold their characters, as a file imported into a note or
// dropped on one is read: a byte-order mark says UTF-16 or UTF-8; without one, bytes that
// are well-formed UTF-8 and not all ASCII are UTF-8; everything else is the program's code
// page (936, with GB18030's four-byte sequences for what 936 lacks).
enum class TextEncoding { CodePage, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::CodePage;
    // The byte-order mark's bytes, which are not text.
    std::size_t markLength = 0;
};

DetectedEncoding DetectTextEncoding(std::string_view bytes);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF, nothing cut.
bool IsWellFormedUtf8(std::string_view bytes);
