#pragma once
#include "TrayHost.h"
#include "../core/NoteOptions.h"
#include "../framework/Wnd.h"

#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

class PIconMenu;
class PNote;

// The invisible window behind the notification-area icon: a double click makes a
// note, a right-button press opens the tray menu with one entry per note.
class PSysTray : public fw::Wnd {
public:
    // Hands the icon to the shell; tests replace it.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

    static constexpr UINT kFirstNoteCommand = 50000;
    static constexpr UINT kLastNoteCommand = 51000;
    // Recently deleted notes, newest first, and the alarms of the days ahead.
    static constexpr UINT kFirstDeletedCommand = 52000;
    static constexpr UINT kLastDeletedCommand = 52019;
    static constexpr UINT kFirstAgendaCommand = 53000;
    static constexpr UINT kLastAgendaCommand = 53029;

    // False when the window class cannot be registered; a failed creation is fatal. The
    // host is what the menu's entries act on.
    bool Create(HWND parent, TrayHost* host);
    PIconMenu* TrackedMenu() const { return m_trackedMenu; }
    // A notification-area balloon: what the user must know of without a window in the
    // way (a note that could not be saved, where the notes went).
    void ShowBalloon(const std::wstring& text, bool warning);

    // Registers the program's hotkeys. A key another program holds is left to it, and the
    // user is told which, once, until the key is the program's again.
    void RegisterHotkeys();
    // The icon's tip, again in the language now chosen.
    void RetellTip();
    // Whether the system would give the program a key now (its own keys aside).
    static bool CanRegister(HWND hwnd, const Hotkey& key);
    // Whether the user's keyboard layout types a character with a key; tests replace it.
    using TypesFunction = bool (*)(const Hotkey& key);
    static void SetTypesFunction(TypesFunction function);
    // The keys to register: a default key the layout types a character with is left
    // unset, and why is said (appended to why, when given).
    static std::array<Hotkey, kHotkeyCount> UsableKeys(const HotkeyOptions& hotkeys, std::string* why);

    static void SetNotifyFunction(NotifyFunction function);
    // Sent to every top-level window when the taskbar comes back after a restart; the
    // tray window, a child, hears of it from the logic window.
    static UINT TaskbarCreatedMessage();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    void OnIconContextMenu(POINT at);
    POINT IconPoint(POINT fallback) const;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnMeasureItem(WPARAM wParam, LPARAM lParam);
    void AddIcon();
    void ShowMenu(POINT at);
    void OnNoteEntry(UINT command);
    void FillNotes(PIconMenu& notes);
    void FillDeleted(PIconMenu& deleted);
    void OnDeletedEntry(UINT command);
    void FillAgenda(PIconMenu& agenda);
    void OnAgendaEntry(UINT command);
    LRESULT OnHotkey(WPARAM id);
    void UnregisterHotkeys();
    void ShowHotkeysDialog();

    // A note as an entry of the menu saw it: its address and its file, so that a note
    // made later at the address of one gone is not taken for it.
    struct NoteEntry {
        PNote* note;
        std::wstring path;
    };
    static NoteEntry EntryOf(PNote* note);
    // The note the entry stood for while the host still lists it, else null.
    static PNote* Listed(const TrayHost& host, const NoteEntry& entry);

    TrayHost* m_host = nullptr;
    // The version of the icon's messages the shell took: 0 (none), 3 or 4.
    UINT m_iconVersion = 0;
    LONG m_lastKeySelect = 0;
    bool m_pressOpened = false;
    DWORD m_pressClosed = 0;
    PIconMenu* m_trackedMenu = nullptr;
    // What the entries of the last menu stood for: their commands arrive after it closed,
    // and notes may have left the list in the meantime (a sync program removed their files).
    std::vector<NoteEntry> m_noteEntries;
    std::vector<std::wstring> m_deletedEntries;
    std::vector<NoteEntry> m_agendaEntries;
    std::array<bool, kHotkeyCount> m_registered = {};
    bool m_hotkeysDialogOpen = false;
};
