#include "PNoteFinder.h"

#include "PNote.h"
#include "../core/NoteFile.h"
#include "../core/NoteSearch.h"
#include "../core/RtfText.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../text/PRichEdit.h"

namespace {

const std::string kNoText;

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes)
{
    const std::wstring wide = fw::WideFromBytes(codePage, bytes);
    // A code page the system does not have: the characters are there, unknown.
    if (wide.empty())
        return std::u16string(bytes.size(), u'?');
    return std::u16string(wide.begin(), wide.end());
}

// The stored text of a note, read from its file; false when the file cannot be read.
bool ReadFileText(const PNote& note, std::string& text)
{
    std::string file;
    if (!fw::ReadWholeFile(note.GetFilePath(), file, kMaxNoteFileBytes))
        return false;
    NoteFields fields;
    std::size_t textOffset = 0;
    std::string_view rtf;
    if (!DecodeNoteFields(file, fields, textOffset) || !DecodeNoteText(file, textOffset, rtf))
        return false;
    text = PNoteFinder::PlainTextOfRtf(rtf);
    return true;
}

} // namespace

std::string PNoteFinder::PlainTextOfRtf(std::string_view rtf)
{
    const std::u16string text = RtfPlainText(rtf, &DecodeCodePage);
    return fw::TextFromWide(std::wstring(text.begin(), text.end()));
}

std::vector<PNoteFinder::Hit> PNoteFinder::Find(const std::list<std::unique_ptr<PNote>>& notes,
                                                std::string_view needle)
{
    std::vector<Hit> hits;
    for (const auto& note : notes) {
        std::string title = note->GetTitle();
        std::optional<std::string> line = MatchNote(title, PlainText(*note), needle, fw::IsTextLeadByte);
        if (line)
            hits.push_back(Hit{note.get(), std::move(title), std::move(*line)});
    }
    return hits;
}

const std::string& PNoteFinder::PlainText(PNote& note)
{
    if (note.IsTextLoaded()) {
        note.Editor()->StreamOutText(m_editorText, false);
        return m_editorText;
    }
    if (!note.FileText()) {
        std::string text;
        // A file that cannot be read now is tried again at the next search.
        if (!ReadFileText(note, text))
            return kNoText;
        note.KeepFileText(std::move(text));
    }
    return *note.FileText();
}
