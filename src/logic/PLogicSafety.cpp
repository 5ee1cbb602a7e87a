// The logic window's side of keeping notes safe when a save fails: the user is told,
// asked before an exit that cannot save, and what cannot be saved is rescued at exit
// and brought back at the next start.
#include "PLogic.h"

#include "../store/PBackup.h"
#include "../store/PHome.h"
#include "../store/PNote.h"
#include "../store/PRescue.h"
#include "../tray/PSysTray.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <shlobj.h>

#include <algorithm>

namespace {

std::wstring g_userFolder;
std::wstring g_localFolder;
bool g_userFoldersSet = false;

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)) ||
        path[0] == 0)
        return std::wstring();
    std::wstring folder(path);
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// "%s" in a pattern from the string table, filled in turn; "%d" the same with a number.
std::wstring Fill(UINT pattern, std::initializer_list<std::wstring> values)
{
    std::wstring text = fw::LoadResStringW(pattern);
    std::size_t from = 0;
    for (const std::wstring& value : values) {
        const std::size_t at = std::min(text.find(L"%s", from), text.find(L"%d", from));
        if (at == std::wstring::npos)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

// The system's own words for an error, on one line.
std::wstring ReasonText(DWORD error)
{
    if (error == ERROR_FILE_TOO_LARGE)
        return fw::LoadResStringW(IDS_NOTE_TOO_LARGE);
    if (error == PNote::kArrivedDamaged)
        return fw::LoadResStringW(IDS_ARRIVED_DAMAGED);
    // The system's text for 0 is that all went well: never the reason of a failure.
    if (error == 0)
        return fw::LoadResStringW(IDS_REASON_UNKNOWN);
    wchar_t text[512] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                          text, ARRAYSIZE(text), nullptr);
    std::wstring reason(text, length);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    std::replace(reason.begin(), reason.end(), L'\r', L' ');
    std::replace(reason.begin(), reason.end(), L'\n', L' ');
    if (reason.empty())
        reason = std::to_wstring(error);
    return reason;
}

// Names joined as the string table lists them; a long list ends after the first few.
std::wstring Listed(const std::vector<std::wstring>& names)
{
    constexpr std::size_t kShown = 10;
    std::wstring text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        text += (i == 0 ? std::wstring() : fw::LoadResStringW(IDS_LIST_SEPARATOR)) + names[i];
    return names.size() > kShown ? text + fw::LoadResStringW(IDS_LIST_MORE) : text;
}

} // namespace

void PLogic::SetUserFolders(const std::wstring& roaming, const std::wstring& local)
{
    g_userFoldersSet = !roaming.empty() || !local.empty();
    g_userFolder = roaming;
    g_localFolder = local;
}

std::wstring PLogic::UserFolder()
{
    const std::wstring base = g_userFoldersSet ? g_userFolder : ShellFolder(CSIDL_APPDATA);
    return base.empty() ? base : base + L"Pinvel\\";
}

std::wstring PLogic::LocalFolder()
{
    return g_userFoldersSet ? g_localFolder : ShellFolder(CSIDL_LOCAL_APPDATA);
}

std::wstring PLogic::RescueFolder()
{
    const std::wstring local = LocalFolder();
    return local.empty() ? local : local + L"Pinvel\\" + fw::LoadResStringW(IDS_RESCUE_FOLDER);
}

void PLogic::FindHome()
{
    const PHome home = PHome::Find(m_programFolder, UserFolder(), LocalFolder());
    m_folder = home.folder;
    if (!home.madeNow)
        return;
    // Where an installed copy keeps its notes is no news, unless notes were brought over.
    if (home.installed) {
        if (home.copied > 0)
            m_homeNews = Fill(IDS_HOME_INSTALL_COPIED, {m_folder, std::to_wstring(home.copied)});
        return;
    }
    m_homeNews = home.copied > 0 ? Fill(IDS_HOME_COPIED, {m_folder, std::to_wstring(home.copied)})
                                 : Fill(IDS_HOME_MOVED, {m_folder});
}

void PLogic::Tell(const std::wstring& text, bool warning)
{
    if (m_tray && !m_ending)
        m_tray->ShowBalloon(text, warning);
}

void PLogic::OnSaveResult(PNote* note, bool saved)
{
    if (saved || note->FailureTold())
        return;
    note->SetFailureTold();
    Tell(Fill(IDS_SAVE_FAILED, {fw::WideFromText(note->GetTitle()), ReasonText(note->SaveError())}), true);
}

int PLogic::UnsavedCount() const
{
    return static_cast<int>(std::count_if(m_notes.begin(), m_notes.end(), [](const auto& note) {
        return note->IsTextLoaded() && note->HasUnsavedChanges();
    }));
}

void PLogic::ExitFromTray()
{
    SaveAll();
    const int unsaved = UnsavedCount();
    if (unsaved > 0) {
        const std::string question = fw::TextFromWide(Fill(IDS_EXIT_UNSAVED, {std::to_wstring(unsaved)}));
        const int answer = fw::ShowMessage(nullptr, question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2 | MB_TOPMOST);
        // The program may have been told to end while it asked.
        if (answer != IDYES || m_ending)
            return;
    }
    Shutdown();
}

void PLogic::KeepUnsavedForLater()
{
    const PRescue rescue(RescueFolder());
    for (auto& note : m_notes) {
        if (note->IsTextLoaded() && note->HasUnsavedChanges())
            rescue.Keep(*note);
    }
}

void PLogic::BringBackRescued()
{
    const std::wstring folder = RescueFolder();
    if (folder.empty())
        return;
    std::vector<PNote*> back;
    PRescue(folder).BringBack(
        NotesFolder(), [this](const std::wstring& name) { return IsFileNameTaken(name); },
        [&](const std::wstring& path) {
            PNote* note = LoadNote(path);
            if (note != nullptr)
                back.push_back(note);
            return note != nullptr;
        });
    if (back.empty())
        return;
    for (PNote* note : back)
        ShowNote(note);
    Tell(Fill(IDS_RESCUED, {std::to_wstring(back.size())}), false);
}

bool PLogic::RestoreVersion(PNote* note, const std::wstring& versionPath)
{
    const bool saved = SaveNote(note);
    OnSaveResult(note, saved);
    if (!saved || !note->RestoreFrom(versionPath))
        return false;
    OnSaveResult(note, !note->SaveFailed());
    return true;
}

void PLogic::BackUpAll()
{
    // One picker at a time: the tray menu can be opened again while it is up.
    if (m_backingUp)
        return;
    std::wstring into = m_backupFolder;
    m_backingUp = true;
    const bool chosen = fw::ShowFolderDialog(nullptr, fw::LoadResStringW(IDS_BACKUP_PICK), into);
    m_backingUp = false;
    if (!chosen || m_ending)
        return;
    m_backupFolder = into;
    // What is on disk is what goes in, every note of it: what changed is saved first.
    FinishReading();
    SaveAll();
    const PBackup::Result result = PBackup::Write(into, m_folder, m_notes, LocalTime());
    if (!result.done) {
        const std::wstring text = Fill(IDS_BACKUP_FAILED, {ReasonText(result.error)});
        fw::ShowMessage(nullptr, fw::TextFromWide(text), MB_OK | MB_ICONWARNING | MB_TOPMOST);
        return;
    }
    std::wstring text = Fill(IDS_BACKUP_DONE, {std::to_wstring(result.notes), result.folder});
    if (result.lastSaved.empty() && result.missed.empty()) {
        Tell(text, false);
        return;
    }
    // A backup that lacks something the user counts on is told where it cannot pass
    // unseen, with room for the names a balloon would cut off.
    if (!result.lastSaved.empty())
        text += Fill(IDS_BACKUP_LAST_SAVED, {Listed(result.lastSaved)});
    if (!result.missed.empty())
        text += Fill(IDS_BACKUP_MISSED, {std::to_wstring(result.missed.size()), Listed(result.missed)});
    fw::ShowMessage(nullptr, fw::TextFromWide(text), MB_OK | MB_ICONWARNING | MB_TOPMOST);
}
