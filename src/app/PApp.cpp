#include "PApp.h"

#include "../framework/Messages.h"
#include "../core/TextRules.h"
#include "../framework/Dialog.h"
#include "../framework/Dpi.h"
#include "../framework/Language.h"
#include "../framework/Strings.h"
#include "../res/resource.h"
#include "../logic/PLogic.h"


namespace {

constexpr const wchar_t kRegistryKey[] = L"SOFTWARE\\Ardmoor\\Pinvel\\1.1";
constexpr const wchar_t kInstanceMutex[] = L"Pinvel.RunningCopy.1.1";
// How long a starting copy waits for another copy that has just started to show its
// logic window.
constexpr DWORD kStartRaceWaitMs = 10000;

void TouchRegistryKey()
{
    fw::RegKey key;
    // Nothing is stored; lacking the rights to create the key must not stop the start.
    ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRegistryKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                      nullptr);
}

HWND FindLogicWindow()
{
    return ::FindWindowW(fw::WideFromText(kLogicClass).c_str(), nullptr);
}

// Tells a second copy's user where the running one is.
class PAlreadyRunningDlg : public fw::Dialog {
public:
    PAlreadyRunningDlg() : fw::Dialog(IDD_ALREADY_RUNNING) {}

protected:
    BOOL OnInitDialog() override
    {
        m_pictures.SetBitmap(m_hWnd, IDC_BANNER, IDB_BANNER);
        return fw::Dialog::OnInitDialog();
    }

private:
    fw::DialogPictures m_pictures;
};

// In the running copy's language, which the user may have chosen; in the user's own when
// that copy does not answer.
void SpeakAsTheRunningCopy()
{
    fw::SetUiLanguage(fw::LanguageForChoice(LanguageChoice::System));
    HWND running = FindLogicWindow();
    DWORD_PTR answer = 0;
    if (running != nullptr &&
        ::SendMessageTimeoutW(running, WM_LOGIC_LANGUAGE, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) != 0 &&
        (answer == 1 + static_cast<DWORD_PTR>(UiLanguage::Chinese) ||
         answer == 1 + static_cast<DWORD_PTR>(UiLanguage::English)))
        fw::SetUiLanguage(static_cast<UiLanguage>(answer - 1));
}

void ShowAlreadyRunningNotice()
{
    SpeakAsTheRunningCopy();
    PAlreadyRunningDlg notice;
    notice.DoModal(nullptr);
}

} // namespace

bool PApp::InitInstance()
{
    TouchRegistryKey();

    if (HasExitSwitch(CommandLine(), fw::IsTextLeadByte)) {
        HWND running = FindLogicWindow();
        if (running != nullptr)
            ::SendMessageW(running, WM_LOGIC_EXIT, 0, 0);
        return false;
    }

    if (FindLogicWindow() != nullptr || !BecomeRunningCopy()) {
        ShowAlreadyRunningNotice();
        return false;
    }

    if (!g_logic.Create())
        return false;
    SetMainWindow(g_logic.GetHwnd());
    return true;
}

bool PApp::BecomeRunningCopy()
{
    m_instanceMutex.Reset(::CreateMutexW(nullptr, FALSE, kInstanceMutex));
    if (!m_instanceMutex.IsValid())
        return true; // Without the guard the window-class test alone decides.
    for (DWORD waited = 0; waited < kStartRaceWaitMs; waited += 100) {
        const DWORD got = ::WaitForSingleObject(m_instanceMutex.Get(), 100);
        if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED)
            return true;
        // Another copy holds the guard: it is starting or running.
        if (FindLogicWindow() != nullptr)
            return false;
    }
    return false;
}
