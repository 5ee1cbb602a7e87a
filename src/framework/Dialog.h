#pragma once
#include "DarkMode.h"
#include "Wnd.h"

#include <string>

namespace fw {

// Moves values between a dialog's members and its controls: into the controls when the
// dialog starts, back into the members when it is accepted.
class DataExchange {
public:
    DataExchange(HWND dialog, bool save) : m_dialog(dialog), m_save(save) {}
    bool Saving() const { return m_save; }
    void Text(int controlId, std::string& value);
    // A check box: checked is true, anything else false.
    void Check(int controlId, bool& value);

private:
    HWND m_dialog;
    bool m_save;
};

// A dialog made from a dialog template in the resources, modal or modeless.
class Dialog : public Wnd {
public:
    explicit Dialog(UINT templateId) : m_templateId(templateId) {}

    // Shows the dialog modally; returns the code passed to EndDialog, or -1 when the
    // dialog could not be made. Without a parent it is owned by DefaultOwner().
    INT_PTR DoModal(HWND parent);

    // Makes the dialog modeless; it is shown only if its template says so.
    bool Create(HWND parent);

    UINT TemplateId() const { return m_templateId; }

    bool PreTranslateMessage(MSG& msg) override;

    // Members into the controls (false) or the controls into the members (true).
    void UpdateData(bool save);

protected:
    // The default moves the members into the controls.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(DataExchange&) {}
    // The default takes the controls into the members and ends the dialog.
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
    DialogColours m_colours;
};

// The colours and frame of a dialog the look asks for, after its own procedure had its
// say: true with the answer when the message was one of the look's.
// Registers the common controls' window classes, once, before the first window that may
// hold one. The library is bound at its first call, so a start that opens no dialog does
// not load it before the program answers.
void UseCommonControls();

bool AnswerForLook(DialogColours& colours, HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR handled,
                   INT_PTR& answer);

} // namespace fw
