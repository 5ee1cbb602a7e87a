#include "CommonDialogs.h"

#include <shlobj.h>

#include "App.h"
#include "LateLibrary.h"
#include "Strings.h"
#include "../core/TextRules.h"

#include <commdlg.h>

#include <vector>

namespace fw {

namespace {

int SystemMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return ::MessageBoxW(owner, WideFromText(text).c_str(), WideFromText(caption).c_str(), type);
}

MessageBoxFunction g_messageBox = &SystemMessageBox;

COLORREF g_customColours[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

// "a|b|c|d||" as the dialog wants it: "a\0b\0c\0d\0\0".
std::wstring FilterList(const char* filter)
{
    std::wstring list = WideFromText(filter);
    for (wchar_t& c : list) {
        if (c == L'|')
            c = L'\0';
    }
    return list + L'\0';
}

// The extension of a filter entry's first pattern ("*.rtf" gives "rtf"); empty for "*.*".
std::wstring FilterExtension(const std::wstring& list, DWORD index)
{
    std::size_t at = 0;
    for (DWORD entry = 1; entry < index * 2 && at < list.size(); ++entry)
        at = list.find(L'\0', at) + 1;
    if (at == 0 || at >= list.size())
        return std::wstring();
    const std::wstring pattern = list.substr(at, list.find_first_of(L";", at) - at).c_str();
    const std::size_t dot = pattern.rfind(L'.');
    if (dot == std::wstring::npos || pattern.find(L'*', dot) != std::wstring::npos)
        return std::wstring();
    return pattern.substr(dot + 1);
}

int CALLBACK SelectStartFolder(HWND dialog, UINT message, LPARAM, LPARAM start)
{
    if (message == BFFM_INITIALIZED && start != 0)
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

bool SystemFolderDialog(HWND owner, const std::wstring& prompt, std::wstring& folder)
{
    // The picker's newer look hosts shell views, which need COM on this thread.
    const HRESULT com = ::OleInitialize(nullptr);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    info.lpfn = &SelectStartFolder;
    info.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    bool chosen = false;
    if (PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (::SHGetPathFromIDListW(item, path) && path[0] != 0) {
            folder = path;
            chosen = true;
        }
        ::CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        ::OleUninitialize();
    return chosen;
}

FolderDialogFunction g_folderDialog = &SystemFolderDialog;

} // namespace

bool ShowFolderDialog(HWND owner, const std::wstring& prompt, std::wstring& folder)
{
    return g_folderDialog(owner, prompt, folder);
}

void SetFolderDialogFunction(FolderDialogFunction function)
{
    g_folderDialog = function != nullptr ? function : &SystemFolderDialog;
}

HWND DefaultOwner()
{
    App* app = App::Current();
    HWND main = app != nullptr ? app->MainWindow() : nullptr;
    if (main == nullptr)
        return ::GetActiveWindow();
    return ::GetLastActivePopup(main);
}

int ShowMessage(HWND owner, const std::string& text, UINT type)
{
    App* app = App::Current();
    const std::string caption = app != nullptr ? app->Title() : TextFromWide(AppTitleFromPath(ModulePath()));
    return g_messageBox(owner, text, caption, type);
}

void SetMessageBoxFunction(MessageBoxFunction function)
{
    g_messageBox = function != nullptr ? function : &SystemMessageBox;
}

bool ShowFileDialog(bool open, HWND owner, const char* filter, DWORD flags, std::wstring& path, DWORD& filterIndex)
{
    const std::wstring filters = FilterList(filter);
    const std::wstring extension = open ? std::wstring() : FilterExtension(filters, filterIndex);
    // Paths may be longer than MAX_PATH on the Windows of today.
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = filterIndex;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = flags | OFN_EXPLORER;
    static const auto openDialog = LateFunction<decltype(::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    static const auto saveDialog = LateFunction<decltype(::GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
    const auto run = open ? openDialog : saveDialog;
    const BOOL ok = run != nullptr && run(&ofn);
    if (!ok)
        return false;
    path = file.data();
    filterIndex = ofn.nFilterIndex;
    return true;
}

bool ShowFontDialog(HWND owner, DWORD flags, LOGFONTW& font, int& pointSizeTenths)
{
    LOGFONTW chosen = font;
    CHOOSEFONTW cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner;
    cf.lpLogFont = &chosen;
    cf.Flags = flags | CF_INITTOLOGFONTSTRUCT;
    static const auto run = LateFunction<decltype(::ChooseFontW)>(L"comdlg32.dll", "ChooseFontW");
    if (run == nullptr || !run(&cf))
        return false;
    font = chosen;
    pointSizeTenths = cf.iPointSize;
    return true;
}

bool ShowColorDialog(HWND owner, DWORD flags, COLORREF& colour)
{
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = colour;
    cc.lpCustColors = g_customColours;
    cc.Flags = flags | CC_RGBINIT;
    static const auto run = LateFunction<decltype(::ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    if (run == nullptr || !run(&cc))
        return false;
    colour = cc.rgbResult;
    return true;
}

} // namespace fw
