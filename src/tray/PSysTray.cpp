#include "PSysTray.h"

#include "../framework/Messages.h"
#include "../framework/PError.h"
#include "../framework/Product.h"
#include "../framework/StartWithWindows.h"
#include "../core/FolderSync.h"
#include "../core/TextRules.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../store/PNote.h"
#include "../text/PIconMenu.h"

#include <windowsx.h>

#include <iterator>
#include <memory>

namespace {

constexpr char kTrayClass[] = "PCN_SYSTRAY";
constexpr UINT kIconId = 1;
// Older headers name only the third version of the icon's messages.
constexpr UINT kIconVersion4 = 4;
constexpr UINT kIconVersion3 = 3;
constexpr UINT kKeySelect = WM_USER + 1; // NIN_KEYSELECT

// Positions in the tray menu.
constexpr int kShowNotePosition = 4;
constexpr int kDeletedPosition = 5;
constexpr int kAgendaPosition = 6;

PSysTray::NotifyFunction g_notify = &::Shell_NotifyIconW;


NOTIFYICONDATAW IconData(HWND hwnd)
{
    // The second version of the record: the first one that carries balloons, which the
    // program needs to tell of a note it could not save. Every shell since Windows 2000
    // takes it.
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = hwnd;
    data.uID = kIconId;
    return data;
}

} // namespace

UINT PSysTray::TaskbarCreatedMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void PSysTray::SetNotifyFunction(NotifyFunction function)
{
    g_notify = function != nullptr ? function : &::Shell_NotifyIconW;
}

bool PSysTray::Create(HWND parent, TrayHost* host)
{
    m_host = host;
    if (!fw::RegisterClassOnce(kTrayClass, 0, 0, MAKEINTRESOURCEW(32512), nullptr))
        return false;
    const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
    if (!CreateEx(0, kTrayClass, "SysTray", style, 0, 0, 1, 1, parent, nullptr)) {
        g_error.Raise(ERR_CREATE_TRAY_WND);
        return false;
    }
    return true;
}

LRESULT PSysTray::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if ((msg == WM_TRAY_NOTIFY || msg == WM_COMMAND || msg == WM_HOTKEY) && m_host != nullptr &&
        !m_host->FinishStart())
        return 0;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    case WM_TRAY_NOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_MEASUREITEM:
        return OnMeasureItem(wParam, lParam);
    case WM_MENUCHAR:
        return PIconMenu::MenuChar(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
    case WM_HOTKEY:
        return OnHotkey(wParam);
    case WM_TRAY_MENU_DONE:
        // A note command sent later by another program means the list as it is then.
        m_noteEntries.clear();
        return 0;
    default:
        if (msg == TaskbarCreatedMessage()) {
            // Without its icon the program could not be reached at all.
            AddIcon();
            return 0;
        }
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT PSysTray::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    PSysTray::TaskbarCreatedMessage();
    AddIcon();
    return 0;
}

void PSysTray::RetellTip()
{
    NOTIFYICONDATAW data = IconData(m_hWnd);
    data.uFlags = NIF_TIP;
    ::lstrcpynW(data.szTip, fw::LoadResStringW(IDS_TRAY_TIP).c_str(), 64);
    g_notify(NIM_MODIFY, &data);
}

void PSysTray::AddIcon()
{
    NOTIFYICONDATAW data = IconData(m_hWnd);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    // The shell keeps a copy of the icon; ours goes when the call has returned.
    // The notification area shows icons at the system's small-icon size.
    const fw::Icon icon(IDI_TRAY, fw::IconSizeForDpi(16, fw::SystemDpi()));
    data.hIcon = icon.Get();
    // The tip keeps to the 64 characters of the first version of the record.
    ::lstrcpynW(data.szTip, fw::LoadResStringW(IDS_TRAY_TIP).c_str(), 64);
    m_iconVersion = 0;
    if (!g_notify(NIM_ADD, &data))
        return;
    // The fourth version tells of the keyboard (Enter, Space, the menu key) and where the
    // icon is; a shell before Vista refuses it and takes the third, which tells of the
    // keyboard only. Asked again after every add: a restarted taskbar knows nothing.
    NOTIFYICONDATAW version = IconData(m_hWnd);
    version.uVersion = kIconVersion4;
    if (g_notify(NIM_SETVERSION, &version)) {
        m_iconVersion = kIconVersion4;
        return;
    }
    version.uVersion = kIconVersion3;
    if (g_notify(NIM_SETVERSION, &version))
        m_iconVersion = kIconVersion3;
}

void PSysTray::ShowBalloon(const std::wstring& text, bool warning)
{
    NOTIFYICONDATAW data = IconData(m_hWnd);
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    // The shell shows a balloon for at least ten seconds and at most thirty.
    data.uTimeout = 15000;
    ::lstrcpynW(data.szInfoTitle, fw::LoadResStringW(IDS_PRODUCT).c_str(), ARRAYSIZE(data.szInfoTitle));
    ::lstrcpynW(data.szInfo, text.c_str(), ARRAYSIZE(data.szInfo));
    g_notify(NIM_MODIFY, &data);
}

LRESULT PSysTray::OnDestroy(WPARAM wParam, LPARAM lParam)
{
    DefWindowProc(WM_DESTROY, wParam, lParam);
    UnregisterHotkeys();
    NOTIFYICONDATAW data = IconData(m_hWnd);
    g_notify(NIM_DELETE, &data);
    return 0;
}

LRESULT PSysTray::OnTrayNotify(WPARAM wParam, LPARAM lParam)
{
    // The fourth version puts the icon's id in the high word and the event in the low
    // one, and the point the shell means in wParam; the earlier ones pass the id in wParam.
    const bool fourth = m_iconVersion >= kIconVersion4;
    const UINT iconId = fourth ? HIWORD(lParam) : static_cast<UINT>(wParam);
    const UINT event = fourth ? LOWORD(lParam) : static_cast<UINT>(lParam);
    if (iconId != kIconId || m_host == nullptr)
        return 0;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    switch (event) {
    case WM_LBUTTONDBLCLK:
        m_host->NewNoteAndShow();
        break;
    case kKeySelect:
        // The shell of some versions tells of one press of Enter twice.
        if (::GetMessageTime() - m_lastKeySelect > static_cast<LONG>(::GetDoubleClickTime()) ||
            m_lastKeySelect == 0)
            m_host->NewNoteAndShow();
        m_lastKeySelect = ::GetMessageTime();
        break;
    case WM_RBUTTONDOWN:
        m_pressOpened = true;
        ShowMenu(cursor);
        m_pressClosed = ::GetTickCount();
        break;
    case WM_CONTEXTMENU:
        OnIconContextMenu(fourth ? POINT{GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)} : IconPoint(cursor));
        break;
    default:
        // NIN_SELECT after a single click, and every other event: nothing.
        break;
    }
    return 0;
}

void PSysTray::OnIconContextMenu(POINT at)
{
    // A right click tells of itself twice, as a press and then as a context menu after the
    // release: the menu the press opened is the only one.
    const bool fromPress = m_pressOpened && ::GetTickCount() - m_pressClosed <= ::GetDoubleClickTime();
    m_pressOpened = false;
    if (fromPress)
        return;
    ShowMenu(at);
}

POINT PSysTray::IconPoint(POINT fallback) const
{
    // Where the icon is, from Windows 7 on; before, where the pointer is.
    using GetRectFunction = HRESULT(WINAPI*)(const void* identifier, RECT* rect);
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    auto getRect = shell != nullptr ? reinterpret_cast<GetRectFunction>(
                                          reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconGetRect")))
                                    : nullptr;
    if (getRect == nullptr)
        return fallback;
    struct Identifier {
        DWORD cbSize;
        HWND hWnd;
        UINT uID;
        GUID guidItem;
    } identifier = {sizeof(Identifier), m_hWnd, kIconId, {}};
    RECT rect = {};
    if (FAILED(getRect(&identifier, &rect)))
        return fallback;
    return {rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2};
}

void PSysTray::ShowMenu(POINT at)
{
    if (m_trackedMenu != nullptr)
        return; // already open: a second one inside its loop would outlive it
    ::SetForegroundWindow(m_hWnd);
    auto menu = std::make_unique<PIconMenu>();
    if (!menu->LoadIconMenu(IDM_TRAY))
        return;
    menu->SetDpi(fw::DpiAtPoint(at));
    m_trackedMenu = menu.get();
    PIconMenu* popup = menu->GetIconSubMenu(0);
    if (popup != nullptr) {
        if (PIconMenu* notes = popup->GetIconSubMenu(kShowNotePosition))
            FillNotes(*notes);
        if (PIconMenu* deleted = popup->GetIconSubMenu(kDeletedPosition))
            FillDeleted(*deleted);
        if (PIconMenu* agenda = popup->GetIconSubMenu(kAgendaPosition))
            FillAgenda(*agenda);
        // Read each time: the value may have been changed or removed elsewhere.
        if (IsStartingWithWindows())
            ::CheckMenuItem(popup->GetHandle(), ID_TRAY_START_WITH_WINDOWS, MF_BYCOMMAND | MF_CHECKED);
        ::CheckMenuRadioItem(popup->GetHandle(), ID_TRAY_LANGUAGE_SYSTEM, ID_TRAY_LANGUAGE_ENGLISH,
                             ID_TRAY_LANGUAGE_SYSTEM + static_cast<UINT>(m_host->Language()), MF_BYCOMMAND);
    }
    if (popup != nullptr)
        ::TrackPopupMenu(popup->GetHandle(), TPM_RIGHTALIGN | TPM_BOTTOMALIGN, at.x, at.y, 0, m_hWnd, nullptr);
    // Lets the menu close properly when the user clicks elsewhere, and comes after the
    // command the menu posted.
    ::PostMessageW(m_hWnd, WM_TRAY_MENU_DONE, 0, 0);
    m_trackedMenu = nullptr;
}

PSysTray::NoteEntry PSysTray::EntryOf(PNote* note)
{
    return {note, note->GetFilePath()};
}

PNote* PSysTray::Listed(const TrayHost& host, const NoteEntry& entry)
{
    for (const auto& note : host.Notes()) {
        if (note.get() == entry.note)
            return note->GetFilePath() == entry.path ? note.get() : nullptr;
    }
    return nullptr;
}

void PSysTray::FillNotes(PIconMenu& notes)
{
    m_noteEntries.clear();
    const PNoteReader& reader = m_host->Reader();
    if (!m_host->Notes().empty() || reader.IsReading())
        ::DeleteMenu(notes.GetHandle(), ID_TRAY_NO_NOTES, MF_BYCOMMAND);
    UINT command = kFirstNoteCommand;
    const std::string conflictMark = fw::LoadResString(IDS_TRAY_CONFLICT_MARK);
    for (const auto& note : m_host->Notes()) {
        // Only the range of note commands is answered: an entry past it would do
        // nothing, and its id would belong to other commands.
        if (command > kLastNoteCommand)
            break;
        // A sync program's copy of a conflict has the title of the note it copies.
        std::string label = EscapeMenuAmpersands(note->GetTitle());
        if (IsConflictCopyName(FileNameOfPath(note->GetFilePath())))
            label += conflictMark;
        notes.AppendIconItem(MF_STRING, command, label.c_str());
        m_noteEntries.push_back(EntryOf(note.get()));
        if (!m_host->IsHidden(note.get()))
            ::CheckMenuItem(notes.GetHandle(), command, MF_BYCOMMAND | MF_CHECKED);
        ++command;
    }
    // The notes still being read at start come later: the list says it is not whole yet.
    if (reader.IsReading()) {
        const std::string reading = fw::Format(fw::LoadResString(IDS_TRAY_READING).c_str(), reader.Read(), reader.Total());
        notes.AppendIconItem(MF_STRING | MF_GRAYED, ID_TRAY_READING, reading.c_str());
    }
}

LRESULT PSysTray::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT command = LOWORD(wParam);
    if (m_host == nullptr)
        return DefWindowProc(WM_COMMAND, wParam, lParam);
    switch (command) {
    case ID_NOTE_NEW:
        m_host->NewNoteAndShow();
        return 0;
    case ID_TRAY_HIDE_ALL:
        m_host->HideAll();
        return 0;
    case ID_TRAY_SHOW_ALL:
        m_host->ShowAll();
        return 0;
    case ID_TRAY_HOME_PAGE:
        ::ShellExecuteW(nullptr, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    case ID_TRAY_HELP:
        m_host->ShowHelp();
        return 0;
    case ID_TRAY_ABOUT:
        m_host->ShowAbout();
        return 0;
    case ID_TRAY_EXIT:
        m_host->ExitFromTray();
        return 0;
    case ID_TRAY_START_WITH_WINDOWS:
        SetStartWithWindows(!IsStartingWithWindows());
        return 0;
    case ID_TRAY_BACKUP:
        m_host->BackUpAll();
        return 0;
    case ID_TRAY_OPEN_FOLDER:
        m_host->OpenNotesFolder();
        return 0;
    case ID_TRAY_NEW_FROM_CLIPBOARD:
        m_host->NewNoteFromClipboard();
        return 0;
    case ID_TRAY_FIND_NOTES:
        m_host->ShowFindNotes();
        return 0;
    case ID_TRAY_HOTKEYS:
        ShowHotkeysDialog();
        return 0;
    case ID_TRAY_LANGUAGE_SYSTEM:
    case ID_TRAY_LANGUAGE_CHINESE:
    case ID_TRAY_LANGUAGE_ENGLISH:
        m_host->SetLanguage(static_cast<LanguageChoice>(command - ID_TRAY_LANGUAGE_SYSTEM));
        return 0;
    default:
        break;
    }
    if (command >= kFirstNoteCommand && command <= kLastNoteCommand) {
        OnNoteEntry(command);
        return 0;
    }
    if (command >= kFirstDeletedCommand && command <= kLastDeletedCommand) {
        OnDeletedEntry(command);
        return 0;
    }
    if (command >= kFirstAgendaCommand && command <= kLastAgendaCommand) {
        OnAgendaEntry(command);
        return 0;
    }
    return DefWindowProc(WM_COMMAND, wParam, lParam);
}

void PSysTray::OnNoteEntry(UINT command)
{
    const std::size_t index = command - kFirstNoteCommand;
    PNote* note = nullptr;
    if (index < m_noteEntries.size())
        note = Listed(*m_host, m_noteEntries[index]);
    else if (index < m_host->Notes().size())
        // No entry stood for it, so no menu sent it: another program did (the whole-program
        // tests show notes so), and it means the place in the list as it is now.
        note = std::next(m_host->Notes().begin(), static_cast<std::ptrdiff_t>(index))->get();
    if (note == nullptr)
        return;
    if (m_host->IsHidden(note))
        m_host->ShowNote(note);
    else
        m_host->HideNote(note);
}

LRESULT PSysTray::OnMeasureItem(WPARAM wParam, LPARAM lParam)
{
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item.CtlType == ODT_MENU && ::IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.itemID))) &&
        m_trackedMenu != nullptr) {
        m_trackedMenu->MeasureItem(item);
        return TRUE;
    }
    return DefWindowProc(WM_MEASUREITEM, wParam, lParam);
}
