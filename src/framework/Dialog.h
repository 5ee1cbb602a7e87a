#pragma once
#include "Wnd.h"

namespace fw {

// A dialog made from a dialog template in the resources, modal or modeless.
class Dialog : public Wnd {
public:
    explicit Dialog(UINT templateId) : m_templateId(templateId) {}

    // Shows the dialog modally; returns the code passed to EndDialog, or -1 when the
    // dialog could not be made.
    INT_PTR DoModal(HWND parent);

    // Makes the dialog modeless; it is shown only if its template says so.
    bool Create(HWND parent);

    UINT TemplateId() const { return m_templateId; }

    bool PreTranslateMessage(MSG& msg) override;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK();
    virtual void OnCancel();

    // The dialog procedure of the object: return TRUE for a handled message. For
    // messages that answer through the return value (WM_CTLCOLOR...) return that value.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Ends a modal dialog; hides a modeless one, which stays for its next showing.
    void EndDialog(INT_PTR result);

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    bool m_modal = false;
};

} // namespace fw
