#include "PAboutDlg.h"

#include "../framework/Strings.h"
#include "../framework/SystemLook.h"
#include "../res/resource.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kVersionBlue = RGB(0, 0, 160);
// The same blue lit up enough to read on the dark face.
constexpr COLORREF kVersionBlueOnDark = RGB(130, 170, 255);

bool IsColourRequest(UINT msg)
{
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}

} // namespace

PAboutDlg::PAboutDlg() : fw::Dialog(IDD_ABOUT) {}

BOOL PAboutDlg::OnInitDialog()
{
    m_notice = fw::LoadResString(IDS_ABOUT_NOTICE);
    fw::Dialog::OnInitDialog();
    m_pictures.SetBitmap(m_hWnd, IDC_ABOUT_LOGO, IDB_LOGO);
    m_pictures.SetIcon(m_hWnd, IDC_ABOUT_ICON, IDI_ABOUT_BOX, 32);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void PAboutDlg::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Text(IDC_ABOUT_NOTICE, m_notice);
}

INT_PTR PAboutDlg::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsColourRequest(msg))
        return fw::Dialog::DialogProc(msg, wParam, lParam);
    // The white card is the light look's; the dark look gets the face of the other dialogs.
    const bool dark = fw::CurrentLook() == fw::Look::Dark;
    const COLORREF face = dark ? fw::Chrome().back : kWhite;
    if (!m_background || face != m_backgroundColour) {
        m_background.Reset(::CreateSolidBrush(face));
        m_backgroundColour = face;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    const bool version = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_ABOUT_VERSION;
    if (dark)
        ::SetTextColor(dc, version ? kVersionBlueOnDark : fw::Chrome().text);
    else
        ::SetTextColor(dc, version ? kVersionBlue : RGB(0, 0, 0));
    ::SetBkColor(dc, face);
    return reinterpret_cast<INT_PTR>(m_background.Get());
}

void PAboutDlg::Show(const std::wstring& notesFolder)
{
    std::wstring line = fw::LoadResStringW(IDS_ABOUT_FOLDER);
    const std::size_t at = line.find(L"%s");
    if (at != std::wstring::npos)
        line.replace(at, 2, notesFolder);
    ::SetDlgItemTextW(m_hWnd, IDC_ABOUT_FOLDER, line.c_str());
    RECT desktop, dialog;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    ::GetWindowRect(m_hWnd, &dialog);
    const int w = dialog.right - dialog.left;
    const int h = dialog.bottom - dialog.top;
    ::SetWindowPos(m_hWnd, nullptr, desktop.left + (desktop.right - desktop.left - w) / 2,
                   desktop.top + (desktop.bottom - desktop.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    ::SetForegroundWindow(m_hWnd);
}
