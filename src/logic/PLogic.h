#pragma once
#include "../store/NoteListener.h"
#include "../store/PFolderWatch.h"
#include "../store/PNote.h"
#include "../store/PNoteReader.h"
#include "../store/POptions.h"
#include "../core/NoteLook.h"
#include "../core/Placement.h"
#include "../dialogs/FindNotesHost.h"
#include "../note/NoteHost.h"
#include "../tray/TrayHost.h"
#include "../framework/Wnd.h"

#include <list>
#include <map>
#include <memory>
#include <string>

class PinvelWnd;
class PSysTray;
class PAboutDlg;
class PFindNotesDlg;

// The hidden main window and single owner of every note. A second copy of the program
// finds the running one by this window's class.
class PLogic : public fw::Wnd, private NoteListener, private NoteHost, private TrayHost, private FindNotesHost {
public:
    // Reads the UTC minute of the moment; tests replace it to drive the minute gate.
    using MinuteSource = int (*)();
    // Reads the local date and time new notes are named by; tests replace it.
    using LocalTimeSource = PNote::LocalTimeSource;
    // Tells how many more window-manager objects the process may make; tests replace it.
    using RoomSource = int (*)();

    PLogic();
    ~PLogic() override;

    // Makes the window; a failure to make it is fatal. False when its class cannot be
    // registered.
    bool Create();

    // Saves everything, rescues what cannot be saved, and destroys the window, which
    // ends the message loop.
    void Shutdown();
    // The tray's exit: asks first when some notes cannot be saved; No keeps running.
    void ExitFromTray() override;
    // Notes whose text is loaded and changed since they were last saved.
    int UnsavedCount() const;
    void SaveAll();

    // The look given to new notes, kept in "Pinvel.ini" beside the program.
    bool LoadSettings();
    bool SaveSettings();
    const NoteLook& DefaultLook() const { return m_defaultLook; }
    // Takes the look for new notes and keeps it in the settings file at once.
    void SetDefaultLook(const NoteLook& look) override;
    // Saves every note whose text or fields changed since it was last saved.
    void SaveChangedNotes();

    // Where "Pinvel.ini" and the notes folder are: the program folder, or the user's own
    // folder when the program folder cannot be written. Ends in a backslash.
    std::wstring GetFolder() const { return m_folder; }
    std::wstring ProgramFolder() const { return m_programFolder; }
    // Where notes that cannot be saved at exit wait for the next start.
    static std::wstring RescueFolder();
    const std::list<std::unique_ptr<PNote>>& Notes() const override { return m_notes; }
    int LastMinute() const { return m_lastMinute; }

    void ShowAbout() override;
    // The find-any-note dialog, made on first use and brought forward after.
    void ShowFindNotes() override;
    void NewNoteFromClipboard() override;
    void ShowHelp() override;
    // Asks for a folder and writes a dated backup of every note into it.
    void BackUpAll() override;
    // Shows the notes folder in Explorer.
    void OpenNotesFolder() override;
    PSysTray* Tray() const { return m_tray.get(); }
    PAboutDlg* About() const { return m_about.get(); }
    PFindNotesDlg* FindNotes() const { return m_findNotes.get(); }

    // Notes on screen.
    PinvelWnd* NewNoteAndShow() override;
    PinvelWnd* ShowNote(PNote* note) override;
    void HideNote(PNote* note) override;
    void CloseNoteWindow(PinvelWnd* window) override;
    void HideAll() override;
    void ShowAll() override;
    PinvelWnd* FindNoteWindow(PNote* note) const;
    bool IsHidden(PNote* note) const override { return FindNoteWindow(note) == nullptr; }
    void ApplyLookToAll(const NoteLook& look) override;
    const std::list<std::unique_ptr<PinvelWnd>>& Windows() const { return m_windows; }

    // Notes and their files.
    PNote* NewNote();
    PNote* LoadNote(const std::wstring& path);
    // Moves the note's file aside into the deleted notes, saved first, and ends the note.
    // A note without a file just goes; one whose file cannot be saved or moved stays.
    void DeleteNote(PNote* note) override;
    // Moves a deleted note's file back under a free name, then lists and shows the note.
    // Null when the file cannot be moved or read; it then stays where it was.
    PNote* RestoreDeletedNote(const std::wstring& deletedPath) override;
    // Puts an earlier version back into the note, once what it holds now is saved (and
    // so kept as a version too). Nothing changes when the note cannot be saved first.
    bool RestoreVersion(PNote* note, const std::wstring& versionPath) override;
    NoteLook GetNewNoteLook() const;
    // Reads every note file of the folder now. At start they are read from the loop.
    void LoadAllNotes();
    // The note files still being read from the loop, and how far it has got.
    const PNoteReader& Reader() const override { return m_reader; }
    // Reads what is left at once, for a step that needs every note.
    void FinishReading();
    // The steps of the start that need not come before the loop answers: taken from a
    // timer once the loop runs, or at once by the first step that needs them. They end
    // the process if an editor cannot be made, before any note is read or written.
    // False only while that failure's box is up: nothing may touch a note then.
    bool FinishStart() override;
    bool HasStarted() const { return m_started; }
    void SaveAllNotes();
    std::string NextTitle();
    std::wstring NextFilePath() const;
    // The folder that holds one file per note: "笔记" on every system, whatever its code page.
    std::wstring NotesFolder() const override;
    // Asks the note's open window, if any, to show the record's current state.
    void NotifyNoteChanged(PNote* note);
    // Keeps a note's window settings in the side file, written a moment later.
    void NoteOptionsChanged(PNote* note) override;
    // The hotkeys and whether the user was told of taken ones, kept in the same file.
    const HotkeyOptions& Hotkeys() const override { return m_options.Hotkeys(); }
    void SetHotkeys(const HotkeyOptions& hotkeys) override;
    LanguageChoice Language() const override { return m_options.Language(); }
    void SetLanguage(LanguageChoice choice) override;
    // Shows the chosen language everywhere it is already shown: the tray's tip, the
    // notes' caption buttons, and the two windows kept between uses, made again.
    void ApplyLanguage();
    // One key for both: every note hidden when any is shown, else every note shown.
    void ShowOrHideAll() override;
    void BringNextNoteForward() override;

    static void SetMinuteSource(MinuteSource source);
    static int CurrentUtcMinute();
    static void SetLocalTimeSource(LocalTimeSource source);
    static void SetRoomSource(RoomSource source);
    // The local date and time as the note store sees it (the clock, or a test's).
    static SYSTEMTIME LocalTime();
    // Points the store at another folder than the program's (tests, the benchmark).
    // Takes effect when the window is created; an empty folder restores the default.
    static void SetProgramFolder(const std::wstring& folder);
    // Points the per-user folders ("%APPDATA%\", "%LOCALAPPDATA%\", each ending in a
    // backslash) elsewhere (tests); empty ones restore the system's.
    static void SetUserFolders(const std::wstring& roaming, const std::wstring& local);

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // What the notes tell their owner, and what the find-notes dialog asks of it
    // beyond the note list (PLogicHosts.cpp).
    HWND OwnerWindow() const override;
    void OnNoteChanged(PNote* note) override;
    void OnAlarmDue(PNote* note, bool sound) override;
    void BringNoteForward(PNote* note, const std::string& typed) override;

    // Asks for the next slice of the notes read at start.
    static constexpr UINT kReadTimer = 3;
    // Looks at the notes folder for what a sync program brought.
    static constexpr UINT kWatchTimer = 4;
    static constexpr UINT kWatchPeriodMs = 1000;
    // Takes the rest of the start once the queue is empty.
    static constexpr UINT kStartTimer = 5;

    LRESULT OnCreate();
    void TakeStartStep();
    void CheckEditor();
    LRESULT OnTimer(WPARAM timerId, LPARAM lParam);
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    LRESULT OnEndSession(WPARAM ending);
    LRESULT OnLogicExit();
    LRESULT OnSettingChange(UINT msg, WPARAM wParam, LPARAM lParam);
    void DeleteClosedWindows();
    bool HasRoomForNote() const;
    // Opens the note's window; shown and made active, or made hidden for ShowAll to
    // show with the others in one step.
    PinvelWnd* OpenNoteWindow(PNote* note, bool show, const WorkAreas* areas = nullptr);
    // Destroys a few of the windows "hide all" hid; the rest at the next turn of the loop.
    void RetireSome();
    void LoadComingText(const PNote* note);
    // The notes folder's files, listed now and read from the loop.
    void StartReading();
    void ReadNote(const std::wstring& path);
    void OnAllRead();
    // The notes folder as another computer's copy of it changes it (PLogicSync.cpp).
    void StartWatching();
    void OnWatchTimer();
    PNote* NoteOfFile(const std::wstring& foldedName) const;
    void SyncFile(const std::wstring& foldedName, const std::map<std::wstring, PFolderWatch::Entry>& files,
                  std::uint64_t now);
    // A note whose window runs a dialog or a menu, or whose window or text is dragged:
    // what came from elsewhere waits until it is done.
    bool IsNoteBusy(PNote* note) const;
    // The key of a file new to the listing that holds the note's gone file, else empty.
    std::wstring RenamedFrom(PNote* note, const std::map<std::wstring, PFolderWatch::Entry>& files);
    void FollowRename(PNote* note, const PFolderWatch::Entry& to);
    // Makes the notes folder, unless it was there and is away now: made again on a share
    // that is reconnecting, it would hide the notes behind it.
    bool MakeNotesFolder();
    void SaveOptionsSoon();
    // Notes whose file cannot be read are tried again now and then while they are shown.
    void RetryUnreadable();
    void TakeTheirs(PNote* note);
    // What was typed here goes to a new note beside it; the note then takes the file.
    void KeepBoth(PNote* note);
    void LeaveList(PNote* note);
    void TakeSideFile();
    // Saves a changed note, unless its file was changed elsewhere since: then both are
    // kept. Every save of the logic window goes through here.
    bool SaveNote(PNote* note);
    void SaveOptions();
    // Ends a note whose file went: its windows close, the record goes.
    void DropNote(PNote* note);
    // The hidden window of a note still waiting to be destroyed, taken back; null if none.
    PinvelWnd* Unretire(PNote* note);
    // Telling the user, saving's results, the home and the rescue.
    void Tell(const std::wstring& text, bool warning);
    void OnSaveResult(PNote* note, bool saved);
    void FindHome();
    void KeepUnsavedForLater();
    void BringBackRescued();
    static std::wstring UserFolder();
    static std::wstring LocalFolder();
    void DestroyNoteWindow(PinvelWnd* window);
    // Whether a note file name in the notes folder is taken; comingBack is the name of a
    // deleted note being restored, which does not take its own name.
    bool IsFileNameTaken(const std::wstring& name, const std::wstring& comingBack = std::wstring()) const;

    std::wstring m_programFolder;
    std::wstring m_folder;
    // What the user is told once the tray icon is there: where the notes went.
    std::wstring m_homeNews;
    bool m_ending = false;
    bool m_started = false;
    bool m_controlsReady = false;
    bool m_editorChecked = false;
    bool m_checkingEditor = false;
    bool m_backingUp = false;
    // Where the last backup went, offered first the next time.
    std::wstring m_backupFolder;
    int m_titleCounter = 1;
    NoteLook m_defaultLook;
    UINT_PTR m_timerId = 0;
    int m_lastMinute;
    // The last minute the alarms were checked in, -1 before the first: a note read after
    // that check is checked on its own in the same minute.
    int m_checkedMinute = -1;
    PNoteReader m_reader;
    PFolderWatch m_watch;
    // The notes folder was there at start (or made then); the watch lost it at its last look.
    bool m_notesFolderMade = false;
    bool m_watchLost = false;
    int m_retryTick = 0;
    std::list<std::unique_ptr<PNote>> m_notes;
    POptions m_options;
    std::list<std::unique_ptr<PinvelWnd>> m_windows;
    // Closed windows whose objects still run a modal loop; deleted once it has ended.
    std::list<std::unique_ptr<PinvelWnd>> m_closedWindows;
    // Windows of notes "hide all" hid and saved, destroyed a few at a time: not listed as
    // open, and taken back when their note is shown again meanwhile.
    std::list<std::unique_ptr<PinvelWnd>> m_retiring;
    std::unique_ptr<PSysTray> m_tray;
    std::unique_ptr<PAboutDlg> m_about;
    std::unique_ptr<PFindNotesDlg> m_findNotes;
};

extern PLogic g_logic;
