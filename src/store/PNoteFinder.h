#pragma once
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class PNote;

// Looks through the titles and texts of all notes for the find-notes list. A note whose
// text is in its editor is read from there: it may hold typing not saved yet. Any other
// note is read from its file without making its windows, and the note keeps the plain
// text until its file changes.
class PNoteFinder {
public:
    // A note found: shown by what was copied from it, as the note may be deleted while
    // it is listed. The note is only compared with the notes that still exist.
    struct Hit {
        PNote* note;
        std::string title;
        // The line of the note's text where the match is.
        std::string line;
    };

    // The notes whose title or text holds needle (code page 936), in the order given.
    std::vector<Hit> Find(const std::list<std::unique_ptr<PNote>>& notes, std::string_view needle);

    // The plain text of a stored RTF text, in code page 936.
    static std::string PlainTextOfRtf(std::string_view rtf);

private:
    const std::string& PlainText(PNote& note);

    std::string m_editorText;
};
