#include "Dialog.h"

#include "CommonDialogs.h"
#include "Guard.h"
#include "Language.h"
#include "Strings.h"
#include "SystemLook.h"

#include "LateLibrary.h"

#include <commctrl.h>

namespace fw {

void UseCommonControls()
{
    static bool registered = false;
    if (registered)
        return;
    static const auto initialize =
        LateFunction<decltype(::InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    registered = initialize != nullptr && initialize(&icc) != FALSE;
}

INT_PTR Dialog::DoModal(HWND parent)
{
    UseCommonControls();
    m_modal = true;
    if (parent == nullptr)
        parent = DefaultOwner();
    const DLGTEMPLATE* dialog = LocalDialog(m_templateId);
    if (dialog == nullptr)
        return -1;
    return ::DialogBoxIndirectParamW(ResourceInstance(), dialog, parent, StaticDialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent)
{
    UseCommonControls();
    m_modal = false;
    const DLGTEMPLATE* dialog = LocalDialog(m_templateId);
    if (dialog == nullptr)
        return false;
    HWND hwnd = ::CreateDialogIndirectParamW(ResourceInstance(), dialog, parent, StaticDialogProc,
                                             reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

bool Dialog::PreTranslateMessage(MSG& msg)
{
    // Modal dialogs run their own loop; modeless ones need the keyboard routed here.
    return !m_modal && m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, &msg);
}

void DataExchange::Text(int controlId, std::string& value)
{
    HWND control = ::GetDlgItem(m_dialog, controlId);
    const std::wstring shown = WideFromText(value);
    if (!m_save) {
        ::SetWindowTextW(control, shown.c_str());
        return;
    }
    const std::wstring text = WindowText(control);
    // Text the user left as it was keeps its bytes, even those the program's code page
    // has no character for (a title written on a system of another code page).
    if (text != shown)
        value = TextFromWideKeepingAll(text);
}

void DataExchange::Check(int controlId, bool& value)
{
    if (m_save)
        value = ::IsDlgButtonChecked(m_dialog, controlId) == BST_CHECKED;
    else
        ::CheckDlgButton(m_dialog, controlId, value ? BST_CHECKED : BST_UNCHECKED);
}

void Dialog::UpdateData(bool save)
{
    DataExchange exchange(m_hWnd, save);
    DoDataExchange(exchange);
}

BOOL Dialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void Dialog::EndDialog(INT_PTR result)
{
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

INT_PTR Dialog::DialogProc(UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        if (!CallGuarded(false, [&] {
                self->Attach(hwnd, nullptr);
                return true;
            }))
            return FALSE;
    } else {
        self = static_cast<Dialog*>(FromHandle(hwnd));
    }
    if (self == nullptr)
        return FALSE;
    LRESULT reflected = 0;
    if (CallGuarded(false, [&] { return ReflectToChild(self, msg, wParam, lParam, reflected); })) {
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, reflected);
        return TRUE;
    }
    const INT_PTR result = CallGuarded<INT_PTR>(FALSE, [&] { return self->DialogProc(msg, wParam, lParam); });
    // Windows hides focus rectangles until a key is pressed in a window opened with the
    // mouse; a user who cannot see the mouse's effect must see where the keys go at once.
    if (msg == WM_INITDIALOG)
        ::PostMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return result;
    }
    INT_PTR answer = result;
    AnswerForLook(self->m_colours, hwnd, msg, wParam, lParam, result, answer);
    return answer;
}

bool AnswerForLook(DialogColours& colours, HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR handled,
                   INT_PTR& answer)
{
    if (msg == WM_INITDIALOG) {
        colours.FollowInFrame(dialog);
        return false;
    }
    if (MayChangeLook(msg, wParam, lParam)) {
        colours.OnLookMayHaveChanged(dialog);
        return false;
    }
    if (handled != FALSE)
        return false;
    if (msg == WM_ERASEBKGND) {
        if (!colours.Erase(dialog, reinterpret_cast<HDC>(wParam)))
            return false;
        ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
        answer = TRUE;
        return true;
    }
    // A dialog that paints a control itself keeps its own colours.
    if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC)
        return false;
    const HBRUSH brush = colours.Answer(msg, reinterpret_cast<HDC>(wParam));
    if (brush == nullptr)
        return false;
    answer = reinterpret_cast<INT_PTR>(brush);
    return true;
}

} // namespace fw
