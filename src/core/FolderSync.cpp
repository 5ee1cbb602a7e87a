#include "FolderSync.h"

#include "NoteFile.h"

namespace {

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool AllDigits(std::wstring_view text)
{
    if (text.empty())
        return false;
    for (wchar_t c : text) {
        if (!IsDigit(c))
            return false;
    }
    return true;
}

// "N261207 (1)", also with the further " (n)" a note brought back under a free name has.
bool IsNoteStem(std::wstring_view stem)
{
    if (stem.size() < 11 || stem[0] != L'N' || !AllDigits(stem.substr(1, 6)))
        return false;
    std::wstring_view rest = stem.substr(7);
    while (!rest.empty()) {
        if (rest.size() < 4 || rest.compare(0, 2, L" (") != 0)
            return false;
        const std::size_t close = rest.find(L')');
        if (close == std::wstring_view::npos || !AllDigits(rest.substr(2, close - 2)))
            return false;
        rest = rest.substr(close + 1);
    }
    return true;
}

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view end)
{
    if (text.size() < end.size())
        return false;
    text = text.substr(text.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        const wchar_t a = text[i] >= L'A' && text[i] <= L'Z' ? static_cast<wchar_t>(text[i] + 32) : text[i];
        if (a != end[i])
            return false;
    }
    return true;
}

// "…sync-conflict-20261207-160512-ABCDEFG": date, time and the device's short id.
bool IsSyncthingCopy(std::wstring_view stem)
{
    constexpr std::wstring_view marker = L".sync-conflict-";
    const std::size_t at = stem.rfind(marker);
    if (at == std::wstring_view::npos || at == 0)
        return false;
    const std::wstring_view tail = stem.substr(at + marker.size());
    if (tail.size() != 8 + 1 + 6 + 1 + 7 || tail[8] != L'-' || tail[15] != L'-')
        return false;
    if (!AllDigits(tail.substr(0, 8)) || !AllDigits(tail.substr(9, 6)))
        return false;
    for (wchar_t c : tail.substr(16)) {
        if (!IsDigit(c) && !(c >= L'A' && c <= L'Z'))
            return false;
    }
    return true;
}

// "N261207 (1) (PC2 的冲突副本 2026-12-07)", "… (PC2's conflicted copy 2026-12-07 (1))".
bool IsDatedCopy(std::wstring_view stem)
{
    for (std::wstring_view marker : {std::wstring_view(L" 的冲突副本 "), std::wstring_view(L"'s conflicted copy ")}) {
        const std::size_t at = stem.rfind(marker);
        if (at == std::wstring_view::npos)
            continue;
        const std::size_t open = stem.rfind(L" (", at);
        if (open == std::wstring_view::npos || open + 2 >= at || !IsNoteStem(stem.substr(0, open)))
            continue;
        std::wstring_view date = stem.substr(at + marker.size());
        if (date.size() < 11 || date.back() != L')')
            continue;
        date.remove_suffix(1);
        // A second copy of the same day is numbered inside the parentheses.
        if (date.size() > 10) {
            const std::wstring_view number = date.substr(10);
            if (number.size() < 4 || number.compare(0, 2, L" (") != 0 || number.back() != L')' ||
                !AllDigits(number.substr(2, number.size() - 3)))
                continue;
            date = date.substr(0, 10);
        }
        if (AllDigits(date.substr(0, 4)) && date[4] == L'-' && AllDigits(date.substr(5, 2)) && date[7] == L'-' &&
            AllDigits(date.substr(8, 2)))
            return true;
    }
    return false;
}

// "N261207 (1)-PC2": the other computer's name after the note's own, a name that may
// hold dashes of its own ("DESKTOP-4F2K9QX").
bool IsNamedCopy(std::wstring_view stem)
{
    for (std::size_t dash = stem.find(L'-'); dash != std::wstring_view::npos; dash = stem.find(L'-', dash + 1)) {
        if (!IsNoteStem(stem.substr(0, dash)))
            continue;
        const std::wstring_view computer = stem.substr(dash + 1);
        return !computer.empty() && computer.find_first_of(L" ()") == std::wstring_view::npos;
    }
    return false;
}

} // namespace

SyncStep DecideSyncStep(const SyncFacts& f)
{
    if (!f.there) {
        if (!f.held)
            return SyncStep::Nothing;
        if (f.renamed)
            return SyncStep::FollowRename;
        // The user may be about to type into it, or is in one of its dialogs.
        if (f.busy || f.open)
            return SyncStep::Wait;
        return f.changedHere ? SyncStep::SaveAgain : SyncStep::LeaveList;
    }
    if (!f.decodes)
        return SyncStep::LeaveAlone;
    if (!f.held)
        return SyncStep::LoadNew;
    if (f.same)
        return SyncStep::Nothing;
    // A dialog open on the note would write back what it copied when it opened.
    if (f.busy)
        return SyncStep::Wait;
    return f.changedHere ? SyncStep::KeepBoth : SyncStep::TakeTheirs;
}

bool IsConflictCopyName(std::wstring_view fileName)
{
    if (!EndsWithIgnoringCase(fileName, L".pvl"))
        return false;
    const std::wstring_view stem = fileName.substr(0, fileName.size() - 4);
    return IsSyncthingCopy(stem) || IsDatedCopy(stem) || IsNamedCopy(stem);
}

void SettlingFiles::Saw(const std::wstring& name, const FileState& state, std::uint64_t nowMs)
{
    auto it = m_waiting.find(name);
    if (it == m_waiting.end()) {
        m_waiting.emplace(name, Waiting{state, nowMs});
        return;
    }
    // Still being written: the wait starts again.
    if (it->second.state != state)
        it->second = Waiting{state, nowMs};
}

std::vector<std::wstring> SettlingFiles::TakeSettled(std::uint64_t nowMs)
{
    std::vector<std::wstring> settled;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (nowMs - it->second.since >= kSettleMs) {
            settled.push_back(it->first);
            it = m_waiting.erase(it);
        } else {
            ++it;
        }
    }
    return settled;
}

std::uint64_t ContentDigest(std::string_view bytes)
{
    return ContentDigest(14695981039346656037ull, bytes);
}

std::uint64_t ContentDigest(std::uint64_t hash, std::string_view bytes)
{
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

bool NoteDigest(std::string_view file, std::uint64_t& digest)
{
    NoteFields fields;
    std::size_t textOffset = 0;
    std::string_view rtf;
    if (!DecodeNoteFields(file, fields, textOffset) || !DecodeNoteText(file, textOffset, rtf))
        return false;
    fields.look.rect = NoteRect{0, 0, 0, 0};
    // The text goes into the digest where it stands, not copied behind the fields.
    digest = ContentDigest(ContentDigest(EncodeNoteFile(fields, std::string_view())), rtf);
    return true;
}
