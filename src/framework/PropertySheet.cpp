#include "PropertySheet.h"

#include "Dialog.h"
#include "Guard.h"
#include "Language.h"
#include "LateLibrary.h"
#include "Strings.h"
#include "../res/resource.h"

namespace fw {

namespace {

// The sheet being made: its callback has no other way to find its object.
thread_local PropertySheet* t_creatingSheet = nullptr;

} // namespace

PROPSHEETPAGEW PropertyPage::Describe()
{
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_DLGINDIRECT;
    page.hInstance = ResourceInstance();
    page.pResource = LocalDialog(m_templateId);
    page.pfnDlgProc = &PropertyPage::StaticDialogProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

void PropertyPage::SetResult(LRESULT result)
{
    ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
}

INT_PTR PropertyPage::DialogProc(UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        return OnInitDialog();
    if (msg != WM_NOTIFY)
        return FALSE;
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
    switch (header.code) {
    case PSN_SETACTIVE:
        SetResult(OnSetActive() ? 0 : -1);
        return TRUE;
    case PSN_APPLY:
        if (m_sheet != nullptr)
            m_sheet->m_accepted = true;
        SetResult(PSNRET_NOERROR);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK PropertyPage::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PropertyPage* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<PropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        if (!CallGuarded(false, [&] {
                self->Attach(hwnd, nullptr);
                return true;
            }))
            return FALSE;
    } else {
        self = static_cast<PropertyPage*>(FromHandle(hwnd));
    }
    if (self == nullptr)
        return FALSE;
    const INT_PTR result = CallGuarded<INT_PTR>(FALSE, [&] { return self->DialogProc(msg, wParam, lParam); });
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return result;
    }
    INT_PTR answer = result;
    AnswerForLook(self->m_colours, hwnd, msg, wParam, lParam, result, answer);
    return answer;
}

PropertySheet::PropertySheet(const std::string& caption, HWND parent, UINT startPage)
    : m_caption(caption), m_parent(parent), m_startPage(startPage)
{
}

void PropertySheet::AddPage(PropertyPage* page)
{
    page->m_sheet = this;
    m_pages.push_back(page);
}

INT_PTR PropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEW> pages;
    for (PropertyPage* page : m_pages)
        pages.push_back(page->Describe());
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hwndParent = m_parent;
    header.hInstance = ResourceInstance();
    const std::wstring caption = WideFromText(m_caption);
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = m_startPage;
    header.ppsp = pages.data();
    header.pfnCallback = &PropertySheet::SheetCallback;
    m_accepted = false;
    UseCommonControls();
    static const auto run = LateFunction<decltype(::PropertySheetW)>(L"comctl32.dll", "PropertySheetW");
    if (run == nullptr)
        return IDCANCEL;
    t_creatingSheet = this;
    const INT_PTR result = run(&header);
    t_creatingSheet = nullptr;
    // OK is known by its PSN_APPLY: a sheet destroyed while it runs (its owner went
    // away) or closed any other way ends as cancelled.
    return result >= 0 && m_accepted ? IDOK : IDCANCEL;
}

int CALLBACK PropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM)
{
    if (msg == PSCB_INITIALIZED && t_creatingSheet != nullptr) {
        PropertySheet* sheet = t_creatingSheet;
        t_creatingSheet = nullptr;
        CallGuarded(false, [&] {
            sheet->SubclassWindow(hwnd);
            sheet->m_colours.FollowInFrame(hwnd);
            return true;
        });
        // The sheet's own buttons come from the system's language; they are told the
        // program's, like every other button of it.
        ::SetDlgItemTextW(hwnd, IDOK, LoadResStringW(IDS_BUTTON_OK).c_str());
        ::SetDlgItemTextW(hwnd, IDCANCEL, LoadResStringW(IDS_BUTTON_CANCEL).c_str());
        // As in every dialog: where the keys are shows from the start, pages included.
        ::PostMessageW(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    return 0;
}

LRESULT PropertySheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The pages are children: only the sheet hears that the look changed, and repaints
    // them with itself.
    const LRESULT result = DefWindowProc(msg, wParam, lParam);
    INT_PTR answer = 0;
    // The sheet's own face is erased with the colour it asks itself for, answered here.
    if (msg != WM_ERASEBKGND && AnswerForLook(m_colours, m_hWnd, msg, wParam, lParam, FALSE, answer))
        return answer;
    return result;
}

} // namespace fw
