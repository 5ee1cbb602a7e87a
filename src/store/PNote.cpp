#include "PNote.h"

#include "PFolderWatch.h"
#include "PVersions.h"
#include "PDummyWnd.h"
#include "../core/NoteFile.h"
#include "../core/RtfBeginning.h"
#include "../core/TextRules.h"
#include "../framework/File.h"
#include "../framework/Strings.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"
#include "../text/PRichEdit.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <optional>

namespace {

std::string WindowsUserName()
{
    wchar_t name[257] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!::GetUserNameW(name, &size))
        return std::string();
    return fw::TextFromWide(name);
}

std::size_t g_maxFileBytes = kMaxNoteFileBytes;

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}

PNote::LocalTimeSource g_localTimeSource = &SystemLocalTime;

void NotifyChanged(NoteListener* listener, PNote* note)
{
    if (listener != nullptr)
        listener->OnNoteChanged(note);
}

} // namespace

PNote::PNote(NoteListener* listener)
    : m_listener(listener), m_title(fw::LoadResString(IDS_DEFAULT_TITLE)), m_userName(WindowsUserName())
{
}

void PNote::SetLocalTimeSource(LocalTimeSource source)
{
    g_localTimeSource = source != nullptr ? source : &SystemLocalTime;
}

SYSTEMTIME PNote::LocalTime()
{
    return g_localTimeSource();
}

PNote::~PNote()
{
    // The owner window takes the editor's window with it; the editor object goes after.
    if (m_owner) {
        m_owner->DestroyWindow();
        m_owner.reset();
    }
    m_edit.reset();
}

bool PNote::CreateEditor()
{
    if (m_edit)
        return true;
    auto owner = std::make_unique<PDummyWnd>();
    if (!owner->TryCreate(m_listener != nullptr ? m_listener->OwnerWindow() : nullptr))
        return false;
    auto edit = std::make_unique<PRichEdit>();
    // Never an unsized control: a text streamed into one is laid out a character a line,
    // which runs the process out of memory. The note's own size until its window sizes it.
    const NoteRect& note = m_look.rect;
    const auto side = [](std::int64_t from, std::int64_t to, std::int64_t least) {
        return static_cast<LONG>(std::clamp<std::int64_t>(to - from, least, 4096));
    };
    const RECT rect = {0, 0, side(note.left, note.right, 225), side(note.top, note.bottom, 45)};
    if (!edit->Create(0, rect, owner->GetHwnd())) {
        owner->DestroyWindow();
        return false;
    }
    m_owner = std::move(owner);
    m_edit = std::move(edit);
    ApplyReadOnly();
    return true;
}

PRichEdit* PNote::OpenEditor()
{
    if (!CreateEditor())
        return nullptr;
    if (!m_textLoaded)
        Load(false, true);
    return m_edit.get();
}

PRichEdit* PNote::AttachEditor(HWND noteWindow)
{
    ::SetParent(m_edit->GetHwnd(), noteWindow != nullptr ? noteWindow : ::GetDesktopWindow());
    return m_edit.get();
}

void PNote::DetachEditor()
{
    ::ShowWindow(m_edit->GetHwnd(), SW_HIDE);
    ::SetParent(m_edit->GetHwnd(), m_owner->GetHwnd());
}

void PNote::SetTitle(const std::string& title)
{
    m_title = title;
    NotifyChanged(m_listener, this);
}

void PNote::CheckAlarms()
{
    if (m_listener == nullptr)
        return;
    const SYSTEMTIME now = LocalTime();
    const int due = FindDueAlarm(
        m_alarms, DateTime::FromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
    if (due == 0)
        return;
    m_listener->OnAlarmDue(this, due > 0);
}

NoteFields PNote::Fields() const
{
    NoteFields fields;
    fields.title = m_title;
    fields.userName = m_userName;
    fields.stamp0 = m_stamp0;
    fields.stamp1 = m_stamp1;
    fields.look = m_look;
    fields.alarms = m_alarms;
    return fields;
}

std::string PNote::EncodedFields() const
{
    NoteFields fields = Fields();
    fields.look.rect = NoteRect{0, 0, 0, 0};
    return EncodeNoteFile(fields, std::string_view());
}

void PNote::MarkSaved()
{
    m_savedFields = EncodedFields();
    m_savedRect = m_look.rect;
    m_fileText.reset();
    if (m_edit && m_edit->IsWindow())
        m_edit->SendMessage(EM_SETMODIFY, FALSE);
}

void PNote::Hold(const std::string& file, const FileState& state)
{
    m_heldFile = state;
    if (!NoteDigest(file, m_heldDigest))
        m_heldDigest = ContentDigest(file);
}

bool PNote::ChangedHere() const
{
    if (m_edit && m_edit->IsWindow() && m_edit->SendMessage(EM_GETMODIFY) != 0)
        return true;
    return EncodedFields() != m_savedFields;
}

bool PNote::HasUnsavedChanges() const
{
    const NoteRect& r = m_look.rect;
    const NoteRect& s = m_savedRect;
    return ChangedHere() || r.left != s.left || r.top != s.top || r.right != s.right || r.bottom != s.bottom;
}

bool PNote::SaveIfChanged()
{
    if (!IsTextLoaded() || !HasUnsavedChanges())
        return true;
    return Save();
}

bool PNote::Save()
{
    // One note too large to hold twice in memory must not stop the others from saving.
    try {
        return SaveNow();
    } catch (const std::bad_alloc&) {
        return Failed(ERROR_NOT_ENOUGH_MEMORY);
    }
}

bool PNote::Failed(DWORD error)
{
    const bool first = m_saveError == 0;
    m_saveError = error != 0 ? error : ERROR_GEN_FAILURE;
    if (first)
        NotifyChanged(m_listener, this);
    return false;
}

bool PNote::Encode(std::string& file)
{
    std::string rtf;
    // A text that did not come out whole must not take the place of a good file.
    if (!m_edit->StreamOutText(rtf, true))
        return Failed(ERROR_READ_FAULT);
    file = EncodeNoteFile(Fields(), rtf);
    // Written, a larger file would be skipped at the next start and lost with it.
    if (file.empty() || file.size() > g_maxFileBytes) {
        SetTrouble(Trouble::TooLarge);
        return Failed(ERROR_FILE_TOO_LARGE);
    }
    return true;
}

bool PNote::SaveNow()
{
    // A note whose text was never loaded is not written: no hourglass for it either, which
    // would cost a save of thousands of notes more than the writing itself.
    if (!IsTextLoaded())
        return true;
    fw::WaitCursor wait;
    std::string file;
    if (!Encode(file))
        return false;
    // The file being replaced becomes an earlier version, once the new one is safely in
    // its place: a failed save leaves no version that is only the same file again.
    std::string old;
    const bool versioned = fw::ReadWholeFile(m_filePath, old, PVersions::kMaxBytesPerNote);
    FileState written;
    if (!fw::ReplaceFileContents(m_filePath, file, written))
        return Failed(::GetLastError());
    if (versioned && old != file)
        PVersions(FolderOfPath(m_filePath).substr(0, FolderOfPath(m_filePath).size() - 1))
            .Add(m_filePath, old);
    Hold(file, written);
    MarkSaved();
    const bool wasFailing = m_saveError != 0;
    m_saveError = 0;
    m_failureTold = false;
    SetTrouble(Trouble::None);
    if (wasFailing)
        NotifyChanged(m_listener, this);
    return true;
}

bool PNote::WriteCopy(const std::wstring& path)
{
    if (!IsTextLoaded())
        return false;
    try {
        std::string file;
        return Encode(file) && fw::ReplaceFileContents(path, file);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool PNote::WriteCopyAs(const std::wstring& path, const std::string& title, const NoteRect& rect)
{
    const std::string title0 = m_title;
    const NoteRect rect0 = m_look.rect;
    m_title = title;
    m_look.rect = rect;
    const bool written = WriteCopy(path);
    m_title = title0;
    m_look.rect = rect0;
    return written;
}

void PNote::SetMaxFileBytes(std::size_t bytes)
{
    g_maxFileBytes = bytes != 0 ? bytes : kMaxNoteFileBytes;
}

std::size_t PNote::MaxFileBytes()
{
    return g_maxFileBytes;
}

bool PNote::IsReadOnly() const
{
    return m_options.locked || m_textComing || m_trouble == Trouble::CutShort || m_trouble == Trouble::Unreadable;
}

void PNote::ApplyReadOnly()
{
    if (m_edit)
        m_edit->SendMessage(EM_SETREADONLY, IsReadOnly() ? TRUE : FALSE);
}

void PNote::SetTrouble(Trouble trouble)
{
    if (m_trouble == trouble)
        return;
    m_trouble = trouble;
    NotifyChanged(m_listener, this);
}

namespace {

// A note file's fields and the RTF of its text, and the state of the file read; false when
// it cannot be read or decoded.
bool ReadNoteFile(const std::wstring& path, std::string& file, NoteFields& fields, std::string_view& rtf,
                  FileState* state = nullptr)
{
    FileState read;
    std::size_t textOffset = 0;
    if (!fw::ReadWholeFile(path, file, g_maxFileBytes, read) || !DecodeNoteFields(file, fields, textOffset) ||
        !DecodeNoteText(file, textOffset, rtf))
        return false;
    if (state != nullptr)
        *state = read;
    return true;
}

// A text longer than this shows its beginning with the window and comes whole a moment
// later: streaming 100 KB into the control takes a fifth of a second under Wine.
constexpr std::size_t kLongTextBytes = 32 * 1024;
// Enough paragraphs to fill a large note window.
constexpr std::size_t kBeginningBytes = 8 * 1024;

} // namespace

bool PNote::LoadBeginning()
{
    if (m_edit == nullptr || IsTextLoaded())
        return false;
    std::string file;
    NoteFields fields;
    std::string_view rtf;
    if (!ReadNoteFile(m_filePath, file, fields, rtf) || rtf.size() <= kLongTextBytes)
        return false;
    const std::string beginning = RtfBeginning(rtf, kBeginningBytes);
    if (beginning.empty())
        return false;
    // Read-only and not loaded: nothing may be typed into a text about to be replaced,
    // and a part of the text is never saved.
    m_edit->StreamInText(beginning, true);
    m_textComing = true;
    ApplyReadOnly();
    MarkSaved();
    return true;
}

bool PNote::Load(bool applyFields, bool loadText)
{
    bool loaded = false;
    try {
        loaded = LoadNow(applyFields, loadText, false);
    } catch (const std::bad_alloc&) {
    }
    // Typing into an empty editor in place of a text not read would be lost, or would one
    // day be written over the text: the note waits read-only until the file reads.
    if (!loaded && loadText && m_edit != nullptr && !IsTextLoaded()) {
        SetTrouble(Trouble::Unreadable);
        ApplyReadOnly();
    }
    return loaded;
}

bool PNote::TakeFile()
{
    const bool text = IsTextLoaded() || (m_edit != nullptr && m_trouble == Trouble::Unreadable);
    try {
        return LoadNow(true, text, true);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool PNote::LoadNow(bool applyFields, bool loadText, bool keepPlace)
{
    // Streaming a text into the editor can take a while: the hourglass shows meanwhile.
    // Fields alone are read only at start, where the whole folder shows one hourglass
    // (the logic window's LoadAllNotes): setting it once per note cost a start with
    // thousands of notes about half as much again as reading their files.
    std::optional<fw::WaitCursor> wait;
    if (loadText)
        wait.emplace();
    if (loadText)
        m_textComing = false;
    // The text is checked even when it is not wanted yet: a note whose text cannot be
    // read later must not be listed now.
    std::string file;
    NoteFields fields;
    std::string_view rtf;
    FileState state;
    if (!ReadNoteFile(m_filePath, file, fields, rtf, &state))
        return false;
    // A file changed elsewhere since its fields were read brings its fields with its text:
    // a title of one version over the text of another would be neither. The note stays
    // where it is.
    const NoteRect where = m_look.rect;
    std::uint64_t digest = 0;
    const bool otherFile =
        !applyFields && loadText && m_heldFile.exists && NoteDigest(file, digest) && digest != m_heldDigest;
    keepPlace = keepPlace || otherFile;
    Hold(file, state);

    if (applyFields || otherFile) {
        if (!fields.title.empty())
            m_title = fields.title;
        if (!fields.userName.empty())
            m_userName = fields.userName;
        m_stamp0 = fields.stamp0;
        m_stamp1 = fields.stamp1;
        m_look = fields.look;
        m_alarms = fields.alarms;
        if (keepPlace)
            m_look.rect = where;
    }
    // Text goes only into an editor that exists: a record loaded at start has none.
    m_textLoaded = loadText && m_edit != nullptr;
    if (m_textLoaded) {
        // A text cut short must never be saved over the whole one in the file.
        const bool whole = m_edit->StreamInText(rtf, true);
        m_textLoaded = whole;
        m_trouble = whole ? Trouble::None : Trouble::CutShort;
        ApplyReadOnly();
        // What failed to be saved before is the file's text now: nothing is left to save.
        if (whole) {
            m_saveError = 0;
            m_failureTold = false;
        }
    }
    MarkSaved();
    NotifyChanged(m_listener, this);
    return true;
}

bool PNote::RestoreFrom(const std::wstring& versionPath)
{
    if (!IsTextLoaded())
        return false;
    std::string file;
    NoteFields fields;
    std::string_view rtf;
    if (!ReadNoteFile(versionPath, file, fields, rtf))
        return false;
    fw::WaitCursor wait;
    if (!m_edit->StreamInText(rtf, true)) {
        Load(false, true); // the text it had, saved just before
        return false;
    }
    if (!fields.title.empty())
        m_title = fields.title;
    const NoteRect where = m_look.rect;
    m_look = fields.look;
    m_look.rect = where;
    m_alarms = fields.alarms;
    m_edit->SendMessage(EM_SETMODIFY, TRUE);
    NotifyChanged(m_listener, this);
    Save();
    return true;
}
