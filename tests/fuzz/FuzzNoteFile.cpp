// Feeds arbitrary bytes to the note-file reader. Whatever it accepts must survive being
// written and read again unchanged.
#include "core/NoteFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    NoteFields fields;
    std::size_t textAt = 0;
    if (!DecodeNoteFields(file, fields, textAt))
        return 0;
    if (textAt + 4 > size)
        std::abort();
    std::string_view rtf;
    if (!DecodeNoteText(file, textAt, rtf))
        return 0;

    const std::string written = EncodeNoteFile(fields, rtf);
    NoteFields again;
    std::size_t againAt = 0;
    std::string_view againText;
    if (!DecodeNoteFields(written, again, againAt) || !DecodeNoteText(written, againAt, againText))
        std::abort();
    if (EncodeNoteFile(again, againText) != written || againText != rtf)
        std::abort();
    return 0;
}
