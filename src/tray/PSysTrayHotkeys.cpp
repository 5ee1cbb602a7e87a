// The program-wide hotkeys: registered by the tray window, told of when taken, and
// changed in their dialog.
#include "PSysTray.h"

#include "../dialogs/PHotkeysDlg.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

namespace {

// Ids of the hotkeys: 1 and on, one per action.
constexpr int kFirstHotkeyId = 1;
// Held down, a key that repeats would show and hide every note over and over. The flag
// is new in Windows 7; older systems refuse it and get the key without.
constexpr UINT kNoRepeat = 0x4000;

bool Register(HWND hwnd, int id, const Hotkey& key)
{
    if (::RegisterHotKey(hwnd, id, key.modifiers | kNoRepeat, key.key))
        return true;
    if (::GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED)
        return false;
    return ::RegisterHotKey(hwnd, id, key.modifiers, key.key) != FALSE;
}

// The window the dialog's question is asked through: the tray's, while it is open.
HWND g_asking = nullptr;

// Ctrl+Alt is AltGr on many layouts: Ctrl+Alt+S types "ś" on a Polish keyboard.
bool LayoutTypes(const Hotkey& key)
{
    if ((key.modifiers & (kModControl | kModAlt)) != (kModControl | kModAlt) || (key.modifiers & kModWin) != 0)
        return false;
    const HKL layout = ::GetKeyboardLayout(0);
    BYTE state[256] = {};
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_LMENU] = 0x80;
    if ((key.modifiers & kModShift) != 0)
        state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    wchar_t typed[8] = {};
    const UINT scan = ::MapVirtualKeyExW(key.key, 0, layout);
    const int count = ::ToUnicodeEx(key.key, scan, state, typed, 8, 0, layout);
    if (count < 0) {
        // A dead key: asked again, so that it does not wait for the next key typed.
        ::ToUnicodeEx(key.key, scan, state, typed, 8, 0, layout);
        return true;
    }
    // A control character is what Ctrl does to a letter on any layout, not typing.
    return count > 0 && typed[0] >= 0x20;
}

PSysTray::TypesFunction g_types = &LayoutTypes;

bool CanUseNow(const Hotkey& key)
{
    return PSysTray::CanRegister(g_asking, key);
}

} // namespace

bool PSysTray::CanRegister(HWND hwnd, const Hotkey& key)
{
    // An id of its own, so that a key the program holds for another action is not mistaken.
    constexpr int kTrialId = kFirstHotkeyId + kHotkeyCount;
    if (!Register(hwnd, kTrialId, key))
        return false;
    ::UnregisterHotKey(hwnd, kTrialId);
    return true;
}

void PSysTray::SetTypesFunction(TypesFunction function)
{
    g_types = function != nullptr ? function : &LayoutTypes;
}

std::array<Hotkey, kHotkeyCount> PSysTray::UsableKeys(const HotkeyOptions& hotkeys, std::string* why)
{
    std::array<Hotkey, kHotkeyCount> keys = hotkeys.keys;
    const auto defaults = HotkeyOptions::DefaultKeys();
    for (int i = 0; i < kHotkeyCount; ++i) {
        // A key the user chose is the user's; only a default gives way to the keyboard.
        if (keys[i] != defaults[i] || !g_types(keys[i]))
            continue;
        if (why != nullptr)
            *why += (why->empty() ? "" : " ") +
                    fw::Format(fw::LoadResString(IDS_HOTKEY_LAYOUT).c_str(), HotkeyName(keys[i]).c_str());
        keys[i] = Hotkey{};
    }
    return keys;
}

void PSysTray::RegisterHotkeys()
{
    // The dialog registers them when it closes; until then its controls take the keys.
    if (m_host == nullptr || m_hotkeysDialogOpen)
        return;
    // Keys the program holds already would report themselves as taken by another program.
    UnregisterHotkeys();
    HotkeyOptions hotkeys = m_host->Hotkeys();
    const auto keys = UsableKeys(hotkeys, nullptr);
    std::string taken;
    for (int i = 0; i < kHotkeyCount; ++i) {
        const Hotkey& key = keys[i];
        const unsigned bit = 1u << i;
        m_registered[i] = key.IsSet() && Register(m_hWnd, kFirstHotkeyId + i, key);
        if (m_registered[i] || !key.IsSet()) {
            hotkeys.toldTaken &= ~bit;
            continue;
        }
        if ((hotkeys.toldTaken & bit) != 0)
            continue;
        taken += (taken.empty() ? "" : fw::LoadResString(IDS_LIST_SEPARATOR)) + HotkeyName(key);
        hotkeys.toldTaken |= bit;
    }
    if (!taken.empty())
        ShowBalloon(fw::WideFromText(fw::Format(fw::LoadResString(IDS_HOTKEYS_TAKEN).c_str(), taken.c_str())), true);
    m_host->SetHotkeys(hotkeys);
}

void PSysTray::UnregisterHotkeys()
{
    for (int i = 0; i < kHotkeyCount; ++i) {
        if (m_registered[i])
            ::UnregisterHotKey(m_hWnd, kFirstHotkeyId + i);
        m_registered[i] = false;
    }
}

LRESULT PSysTray::OnHotkey(WPARAM id)
{
    if (m_host == nullptr)
        return 0;
    switch (static_cast<int>(id) - kFirstHotkeyId) {
    case static_cast<int>(HotkeyAction::NewNote):
        m_host->NewNoteAndShow();
        break;
    case static_cast<int>(HotkeyAction::ShowOrHideAll):
        m_host->ShowOrHideAll();
        break;
    case static_cast<int>(HotkeyAction::FindNotes):
        m_host->ShowFindNotes();
        break;
    case static_cast<int>(HotkeyAction::NewFromClipboard):
        m_host->NewNoteFromClipboard();
        break;
    case static_cast<int>(HotkeyAction::NextNote):
        m_host->BringNextNoteForward();
        break;
    default:
        break;
    }
    return 0;
}

void PSysTray::ShowHotkeysDialog()
{
    if (m_host == nullptr || m_hotkeysDialogOpen)
        return;
    m_hotkeysDialogOpen = true;
    // Pressed in the dialog, the program's own keys must reach its controls.
    UnregisterHotkeys();
    PHotkeysDlg dialog(&CanUseNow);
    const auto shown = UsableKeys(m_host->Hotkeys(), &dialog.m_why);
    dialog.m_keys = shown;
    g_asking = m_hWnd;
    const INT_PTR result = dialog.DoModal(nullptr);
    g_asking = nullptr;
    m_hotkeysDialogOpen = false;
    // The tray may be gone meanwhile (the program was told to end).
    if (m_hWnd == nullptr)
        return;
    if (result == IDOK) {
        // Only the keys changed in the dialog: others may have come from another computer.
        HotkeyOptions hotkeys = m_host->Hotkeys();
        for (int i = 0; i < kHotkeyCount; ++i) {
            if (dialog.m_keys[i] != shown[i])
                hotkeys.keys[i] = dialog.m_keys[i];
        }
        m_host->SetHotkeys(hotkeys);
    }
    RegisterHotkeys();
}
