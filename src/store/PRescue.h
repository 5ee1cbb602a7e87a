#pragma once
#include <functional>
#include <string>
#include <vector>

class PNote;

// The folder under the user's profile ("%LOCALAPPDATA%\Pinvel\未保存") that takes, at exit,
// every note that could not be saved where it belongs, one normal note file each; the
// next start brings them back into the notes folder.
class PRescue {
public:
    explicit PRescue(std::wstring folder);

    // Writes the note's file into the folder under its own name or the next free one;
    // an earlier rescue is never written over.
    bool Keep(PNote& note) const;
    // Copies every rescued file into the notes folder under a name isTaken refuses not
    // and hands its new path to load; a rescued file goes only once load took the copy.
    // Returns how many came back.
    int BringBack(const std::wstring& notesFolder, const std::function<bool(const std::wstring&)>& isTaken,
                  const std::function<bool(const std::wstring&)>& load) const;

private:
    std::vector<std::wstring> Files() const;

    std::wstring m_folder;
};
