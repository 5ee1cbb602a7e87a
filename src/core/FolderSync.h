#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The rules for a notes folder that a folder-sync program keeps in step with another
// computer's while the program runs: what a file changed by someone else means for the
// note that holds it, which names are a sync program's copies of a conflict, and when a
// file has settled enough to be read.

// A note file as the folder listing shows it. Two states that differ in any field are
// two versions of the file as far as watching goes; the content decides the rest.
struct FileState {
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t written = 0;

    bool operator==(const FileState& other) const
    {
        return exists == other.exists && size == other.size && written == other.written;
    }
    bool operator!=(const FileState& other) const { return !(*this == other); }
};

// What becomes of a note once its file settled in another state than the one it holds.
enum class SyncStep {
    // Its content is what the note already holds, or nothing is held and nothing is there.
    Nothing,
    // The note takes the file's fields, text, look and alarms; it stays where it is.
    TakeTheirs,
    // What was typed here goes to a new note; the note then takes the file.
    KeepBoth,
    // A file no note holds becomes a hidden note.
    LoadNew,
    // Gone elsewhere and unchanged here: the note leaves the list, kept among the deleted.
    LeaveList,
    // Gone elsewhere but changed here: the note writes its file again.
    SaveAgain,
    // Renamed elsewhere: the same note under its new name, with its settings and versions.
    FollowRename,
    // The file does not read as a note (cut short, an empty placeholder, a newer format):
    // nothing is taken from it and nothing written over it until it changes again.
    LeaveAlone,
    // The note's window is busy (a dialog, a menu, a drag) or, for a file that went, open:
    // looked at again once it is not.
    Wait,
};

// What is known of one note file once it settled.
struct SyncFacts {
    // A note holds a file of this name, read or written by this program.
    bool held = false;
    // The file is in the folder now; it reads as a whole note file.
    bool there = false;
    bool decodes = false;
    // Gone, while the same bytes came under a new name in the same listing: a sync
    // program (or the user) renamed it.
    bool renamed = false;
    // Its content is what the note holds.
    bool same = false;
    // The note holds typing or fields not saved yet; where it sits on the screen is no
    // change of the note, so a note only moved never makes a copy of itself.
    bool changedHere = false;
    // Its window runs a dialog or a menu, has the mouse captured or is being dragged.
    bool busy = false;
    // Its window is open at all.
    bool open = false;
};

SyncStep DecideSyncStep(const SyncFacts& facts);

// True for the copies folder-sync programs make when two computers changed one file:
//   "N261207 (1)-PC2.pvl"                                       (one cloud client)
//   "N261207 (1) (PC2 的冲突副本 2026-12-07).pvl", "… (PC2's conflicted copy 2026-12-07).pvl"
//   "N261207 (1).sync-conflict-20261207-160512-ABCDEFG.pvl"     (any name before it)
// The first two forms are taken only after a note's own name, so that a title saved as
// a file name ("to-do.pvl") is not mistaken for one.
bool IsConflictCopyName(std::wstring_view fileName);

// Files whose state changed, each waiting until it has stayed the same for a while: a
// sync program writes a file in steps, and reading one half written would take half a
// note.
class SettlingFiles {
public:
    static constexpr std::uint64_t kSettleMs = 2000;

    // The name is in state now, which differs from the one it is known in.
    void Saw(const std::wstring& name, const FileState& state, std::uint64_t nowMs);
    // The name is back in the state it is known in (or no longer looked at).
    void Drop(const std::wstring& name) { m_waiting.erase(name); }
    // The names that have stayed in their state for kSettleMs, taken out of the wait.
    std::vector<std::wstring> TakeSettled(std::uint64_t nowMs);
    bool IsEmpty() const { return m_waiting.empty(); }

private:
    struct Waiting {
        FileState state;
        std::uint64_t since;
    };
    std::map<std::wstring, Waiting> m_waiting;
};

// A 64-bit digest of a file's bytes: what a note holds is compared by it, not by the
// bytes, which a note never read whole does not keep.
std::uint64_t ContentDigest(std::string_view bytes);
// The digest of more bytes after those that gave digest.
std::uint64_t ContentDigest(std::uint64_t digest, std::string_view more);

// The digest of a note file as a note, without where its window sits: two computers with
// other screens write the same note in other places, and that is no change of it. False
// when the bytes are not a whole note file.
bool NoteDigest(std::string_view file, std::uint64_t& digest);
