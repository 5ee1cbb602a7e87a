#pragma once
#include "../core/NoteOptions.h"
#include "../framework/Dialog.h"

#include <array>
#include <string>

// The program's hotkeys in the system's hotkey controls: changed, cleared, and
// taken only when the system would give each one to the program.
class PHotkeysDlg : public fw::Dialog {
public:
    // Whether the system would give the program this key now.
    using CanUseFunction = bool (*)(const Hotkey& key);

    explicit PHotkeysDlg(CanUseFunction canUse);

    std::array<Hotkey, kHotkeyCount> m_keys;
    // Shown below the keys: why a key the program would take by default is not set.
    std::string m_why;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CanUseFunction m_canUse;
};

// The key's name as the user's keyboard calls it: "Ctrl+Alt+N".
std::string HotkeyName(const Hotkey& key);
