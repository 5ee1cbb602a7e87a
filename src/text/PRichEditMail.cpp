// A note handed to the user's mail program through Simple MAPI, loaded for each message.
#include "PRichEdit.h"

#include "../framework/App.h"
#include "../framework/CommonDialogs.h"
#include "../framework/Strings.h"
#include "../framework/WaitCursor.h"
#include "../res/resource.h"

#include <mapi.h>

#include <cwchar>
#include <iterator>
#include <optional>
#include <string>

namespace {

HMODULE SystemLoadLibrary(const char* name)
{
    return ::LoadLibraryW(fw::WideFromText(name).c_str());
}

PRichEdit::LibraryLoader g_loadLibrary = &SystemLoadLibrary;

using Text = std::optional<std::wstring>;

// The wide message of the mail library, laid out as its narrow one.
struct MailRecipientW {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    LPVOID lpEntryID;
};

struct MailMessageW {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    MailRecipientW* lpOriginator;
    ULONG nRecipCount;
    MailRecipientW* lpRecips;
    ULONG nFileCount;
    LPVOID lpFiles;
};

using SendMailWide = ULONG(WINAPI*)(LHANDLE, ULONG_PTR, MailMessageW*, FLAGS, ULONG);

constexpr FLAGS kSendFlags = MAPI_LOGON_UI | MAPI_DIALOG;

Text Optional(const char* text)
{
    return text != nullptr ? Text(fw::WideFromText(text)) : std::nullopt;
}

// The mail program receives its own copies, freed when the call is over. Absent stays
// absent: an empty subject and no subject are not the same to it.
std::optional<std::wstring> Wide(const Text& text)
{
    return text;
}

// The narrow function reads the system's code page, not the program's.
std::optional<std::string> SystemText(const Text& text)
{
    if (!text)
        return std::nullopt;
    return fw::BytesFromWide(CP_ACP, text->data(), text->size());
}

template <typename Char>
Char* Pointer(std::optional<std::basic_string<Char>>& text)
{
    return text ? &(*text)[0] : nullptr;
}

// Both functions take the same message, laid out alike; only the width of its texts
// differs, and convert makes the copies in that width.
template <typename Message, typename Recipient, typename Send, typename Convert>
ULONG SendThrough(Send send, Convert convert, ULONG_PTR ui, const Text& name, const Text& address,
                  const Text& subject, const Text& body)
{
    auto nameCopy = convert(name), addressCopy = convert(address), subjectCopy = convert(subject),
         bodyCopy = convert(body);
    Recipient recipient = {};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = Pointer(nameCopy);
    recipient.lpszAddress = Pointer(addressCopy);
    Message message = {};
    message.lpszSubject = Pointer(subjectCopy);
    message.lpszNoteText = Pointer(bodyCopy);
    if (name) {
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
    }
    return send(0, ui, &message, kSendFlags, 0);
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
            wchar_t cls[16] = {};
            ::GetClassNameW(w, cls, static_cast<int>(std::size(cls)));
            if (std::wcscmp(cls, L"#32770") == 0 && (enable || ::IsWindowEnabled(w)))
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
    SendMail(address, Optional(subject), Optional(body));
}

void PRichEdit::SendMail(const char* address, const std::optional<std::wstring>& subject,
                         const std::optional<std::wstring>& body)
{
    fw::WaitCursor wait;
    HWND owner = fw::DefaultOwner();
    Library mapi(g_loadLibrary("MAPI32.DLL"));
    if (mapi.Get() == nullptr) {
        ShowMailMessage(owner, IDS_MAIL_NO_LIBRARY);
        return;
    }
    // Every mail library has the narrow function; only newer ones have the wide one,
    // which carries any character whatever the system's code page.
    auto sendNarrow =
        reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(::GetProcAddress(mapi.Get(), "MAPISendMail")));
    if (sendNarrow == nullptr) {
        ShowMailMessage(owner, IDS_MAIL_BAD_LIBRARY);
        return;
    }
    auto sendWide =
        reinterpret_cast<SendMailWide>(reinterpret_cast<void*>(::GetProcAddress(mapi.Get(), "MAPISendMailW")));

    const Text recipient = Optional(address);
    const Text smtp = address != nullptr ? Optional((std::string("SMTP:") + address).c_str()) : std::nullopt;
    const Text& subjectText = subject;
    const Text& bodyText = body;

    ULONG result = SUCCESS_SUCCESS;
    {
        MailModalBracket bracket(owner);
        const ULONG_PTR ui = reinterpret_cast<ULONG_PTR>(owner);
        result = sendWide != nullptr
                     ? SendThrough<MailMessageW, MailRecipientW>(sendWide, &Wide, ui, recipient, smtp, subjectText,
                                                                 bodyText)
                     : SendThrough<MapiMessage, MapiRecipDesc>(sendNarrow, &SystemText, ui, recipient, smtp,
                                                               subjectText, bodyText);
    }
    if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT && result != MAPI_E_LOGIN_FAILURE)
        ShowMailMessage(owner, IDS_MAIL_FAILED);
}
