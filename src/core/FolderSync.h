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
};

// held: a note holds a file of this name, read or written by this program.
// there: the file is in the folder now. same: its content is what the note holds.
// changedHere: the note holds typing or fields not saved yet.
SyncStep DecideSyncStep(bool held, bool there, bool same, bool changedHere);

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
