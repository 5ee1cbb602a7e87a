#include "PHotkeysDlg.h"

#include "../framework/Strings.h"
#include "../res/resource.h"

#include <commctrl.h>

namespace {

constexpr int kControls[kHotkeyCount] = {IDC_HOTKEY_NEW, IDC_HOTKEY_SHOW_HIDE, IDC_HOTKEY_FIND, IDC_HOTKEY_CLIP,
                                         IDC_HOTKEY_NEXT};
constexpr int kClearButtons[kHotkeyCount] = {IDC_HOTKEY_NEW_CLEAR, IDC_HOTKEY_SHOW_HIDE_CLEAR, IDC_HOTKEY_FIND_CLEAR,
                                             IDC_HOTKEY_CLIP_CLEAR, IDC_HOTKEY_NEXT_CLEAR};

} // namespace

std::string HotkeyName(const Hotkey& key)
{
    UINT scan = ::MapVirtualKeyW(key.key, 0);
    if ((ControlFromHotkey(key) >> 8) & HOTKEYF_EXT)
        scan |= 0x100;
    wchar_t name[64] = {};
    if (::GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) <= 0) {
        name[0] = static_cast<wchar_t>(key.key);
        name[1] = 0;
    }
    return HotkeyText(key, fw::TextFromWide(std::wstring(name)));
}

PHotkeysDlg::PHotkeysDlg(CanUseFunction canUse) : fw::Dialog(IDD_HOTKEYS), m_canUse(canUse) {}

BOOL PHotkeysDlg::OnInitDialog()
{
    for (int i = 0; i < kHotkeyCount; ++i) {
        HWND control = ::GetDlgItem(m_hWnd, kControls[i]);
        // A key without Ctrl or Alt would be taken from every program's typing.
        ::SendMessageW(control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendMessageW(control, HKM_SETHOTKEY, ControlFromHotkey(m_keys[i]), 0);
    }
    ::SetDlgItemTextW(m_hWnd, IDC_HOTKEY_NOTE, fw::WideFromText(m_why).c_str());
    return fw::Dialog::OnInitDialog();
}

INT_PTR PHotkeysDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        for (int i = 0; i < kHotkeyCount; ++i) {
            if (LOWORD(wParam) != kClearButtons[i])
                continue;
            ::SendDlgItemMessageW(m_hWnd, kControls[i], HKM_SETHOTKEY, 0, 0);
            ::SetFocus(::GetDlgItem(m_hWnd, kControls[i]));
            return TRUE;
        }
    }
    return fw::Dialog::DialogProc(msg, wParam, lParam);
}

void PHotkeysDlg::OnOK()
{
    std::array<Hotkey, kHotkeyCount> keys;
    for (int i = 0; i < kHotkeyCount; ++i) {
        const auto value = static_cast<unsigned>(::SendDlgItemMessageW(m_hWnd, kControls[i], HKM_GETHOTKEY, 0, 0));
        keys[i] = HotkeyFromControl(value & 0xFFFF);
    }
    for (int i = 0; i < kHotkeyCount; ++i) {
        if (!keys[i].IsSet())
            continue;
        bool twice = false;
        for (int j = 0; j < i; ++j)
            twice = twice || keys[j] == keys[i];
        if (!twice && m_canUse(keys[i]))
            continue;
        const std::string text = fw::Format(fw::LoadResString(twice ? IDS_HOTKEY_TWICE : IDS_HOTKEY_REFUSED).c_str(),
                                            HotkeyName(keys[i]).c_str());
        ::MessageBoxW(m_hWnd, fw::WideFromText(text).c_str(), fw::LoadResStringW(IDS_HOTKEYS_TITLE).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(::GetDlgItem(m_hWnd, kControls[i]));
        return;
    }
    m_keys = keys;
    EndDialog(IDOK);
}
