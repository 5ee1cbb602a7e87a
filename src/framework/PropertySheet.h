#pragma once
#include "DarkMode.h"
#include "Wnd.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace fw {

class PropertySheet;

// One page of a property sheet, made from a dialog template in the resources.
class PropertyPage : public Wnd {
public:
    explicit PropertyPage(UINT templateId) : m_templateId(templateId) {}

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Every time the page becomes the active one; false keeps the previous page.
    virtual bool OnSetActive() { return true; }
    // The dialog procedure of the page: TRUE for a handled message. WM_NOTIFY answers
    // go through SetResult.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetResult(LRESULT result);

private:
    friend class PropertySheet;
    PROPSHEETPAGEW Describe();
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    PropertySheet* m_sheet = nullptr;
    DialogColours m_colours;
};

// A modal property sheet with OK and Cancel only (no Apply, no Help).
class PropertySheet : public Wnd {
public:
    PropertySheet(const std::string& caption, HWND parent, UINT startPage);

    void AddPage(PropertyPage* page);
    // IDOK when the sheet was closed with OK; IDCANCEL for Cancel, Escape, the close
    // box, or a sheet destroyed while it ran (its owner went away).
    INT_PTR DoModal();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class PropertyPage;
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lParam);

    std::string m_caption;
    HWND m_parent;
    UINT m_startPage;
    std::vector<PropertyPage*> m_pages;
    bool m_accepted = false;
    DialogColours m_colours;
};

} // namespace fw
