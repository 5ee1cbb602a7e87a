// A note handed to the user's mail program through Simple MAPI, loaded for each message.
#include "PRichEdit.h"

#include "../framework/App.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"

#include <mapi.h>

#include <cstring>
#include <memory>

namespace {

HMODULE SystemLoadLibrary(const char* name)
{
    return ::LoadLibraryA(name);
}

PRichEdit::LibraryLoader g_loadLibrary = &SystemLoadLibrary;

// The mail program receives its own copies, freed when the call is over.
std::unique_ptr<char[]> Copy(const char* text)
{
    if (text == nullptr)
        return nullptr;
    auto copy = std::make_unique<char[]>(std::strlen(text) + 1);
    std::strcpy(copy.get(), text);
    return copy;
}

void ShowMailMessage(HWND owner, UINT id)
{
    fw::ShowMessage(owner, fw::LoadResString(id), MB_OK | MB_ICONEXCLAMATION);
}

class Library {
public:
    explicit Library(HMODULE module) : m_module(module) {}
    ~Library()
    {
        if (m_module != nullptr)
            ::FreeLibrary(m_module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

// Keeps the owner disabled and without focus while the mail program's dialogs come and
// go (some enable their parent between two dialogs), and gives it back active after.
class MailModalBracket {
public:
    explicit MailModalBracket(HWND owner) : m_owner(owner)
    {
        HWND top = owner != nullptr ? ::GetAncestor(owner, GA_ROOT) : nullptr;
        if (top != nullptr && top != owner && ::IsWindowEnabled(top)) {
            ::EnableWindow(top, FALSE);
            m_top = top;
        }
        EnableModeless(false);
        if (owner != nullptr) {
            ::SetCapture(owner);
            ::SetFocus(nullptr);
            ::EnableWindow(owner, FALSE);
        }
    }
    ~MailModalBracket()
    {
        ::ReleaseCapture();
        if (m_owner != nullptr) {
            ::EnableWindow(m_owner, TRUE);
            ::SetActiveWindow(nullptr);
            ::SetActiveWindow(m_owner);
            ::SetFocus(m_owner);
        }
        if (m_top != nullptr)
            ::EnableWindow(m_top, TRUE);
        EnableModeless(true);
    }
    MailModalBracket(const MailModalBracket&) = delete;
    MailModalBracket& operator=(const MailModalBracket&) = delete;

private:
    // The application's modeless windows: the visible pop-ups owned by its main window
    // (About Pinvel), other than the owner itself.
    void EnableModeless(bool enable)
    {
        fw::App* app = fw::App::Current();
        HWND main = app != nullptr ? app->MainWindow() : nullptr;
        if (main == nullptr)
            return;
        for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
            if (w == m_owner || w == m_top || ::GetWindow(w, GW_OWNER) != main)
                continue;
            char cls[16] = {};
            ::GetClassNameA(w, cls, sizeof(cls));
            if (std::strcmp(cls, "#32770") == 0 && (enable || ::IsWindowEnabled(w)))
                ::EnableWindow(w, enable ? TRUE : FALSE);
        }
    }

    HWND m_owner;
    HWND m_top = nullptr;
};

} // namespace

void PRichEdit::SetMailLibraryLoader(LibraryLoader loader)
{
    g_loadLibrary = loader != nullptr ? loader : &SystemLoadLibrary;
}

void PRichEdit::SendMail(const char* address, const char* subject, const char* body)
{
    fw::WaitCursor wait;
    HWND owner = fw::DefaultOwner();
    Library mapi(g_loadLibrary("MAPI32.DLL"));
    if (mapi.Get() == nullptr) {
        ShowMailMessage(owner, IDS_MAIL_NO_LIBRARY);
        return;
    }
    auto send = reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(::GetProcAddress(mapi.Get(), "MAPISendMail")));
    if (send == nullptr) {
        ShowMailMessage(owner, IDS_MAIL_BAD_LIBRARY);
        return;
    }

    auto subjectCopy = Copy(subject);
    auto bodyCopy = Copy(body);
    auto nameCopy = Copy(address);
    auto addressCopy = address != nullptr ? Copy((std::string("SMTP:") + address).c_str()) : nullptr;
    MapiRecipDesc recipient = {};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = nameCopy.get();
    recipient.lpszAddress = addressCopy.get();
    MapiMessage message = {};
    message.lpszSubject = subjectCopy.get();
    message.lpszNoteText = bodyCopy.get();
    if (address != nullptr) {
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
    }

    ULONG result = SUCCESS_SUCCESS;
    {
        MailModalBracket bracket(owner);
        result = send(0, reinterpret_cast<ULONG_PTR>(owner), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
    }
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT && result != MAPI_E_LOGIN_FAILURE)
        ShowMailMessage(owner, IDS_MAIL_FAILED);
}
