#include "CommonDialogs.h"

#include "App.h"
#include "Strings.h"
#include "../core/TextRules.h"

#include <commdlg.h>

#include <vector>

namespace fw {

namespace {

int SystemMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

MessageBoxFunction g_messageBox = &SystemMessageBox;

COLORREF g_customColours[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

// "a|b|c|d||" as the dialog wants it: "a\0b\0c\0d\0\0".
std::vector<char> FilterList(const char* filter)
{
    std::vector<char> list;
    for (const char* p = filter; *p != '\0'; ++p)
        list.push_back(*p == '|' ? '\0' : *p);
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

} // namespace

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
    const std::string caption = app != nullptr ? app->Title() : AppTitleFromPath(ModulePath());
    return g_messageBox(owner, text, caption, type);
}

void SetMessageBoxFunction(MessageBoxFunction function)
{
    g_messageBox = function != nullptr ? function : &SystemMessageBox;
}

bool ShowFileDialog(bool open, HWND owner, const char* filter, DWORD flags, std::string& path, DWORD& filterIndex)
{
    const std::vector<char> filters = FilterList(filter);
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.data();
    ofn.nFilterIndex = filterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.Flags = flags | OFN_EXPLORER;
    const BOOL ok = open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (!ok)
        return false;
    path = file;
    filterIndex = ofn.nFilterIndex;
    return true;
}

bool ShowFontDialog(HWND owner, DWORD flags, LOGFONTA& font, int& pointSizeTenths)
{
    LOGFONTA chosen = font;
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner;
    cf.lpLogFont = &chosen;
    cf.Flags = flags | CF_INITTOLOGFONTSTRUCT;
    if (!::ChooseFontA(&cf))
        return false;
    font = chosen;
    pointSizeTenths = cf.iPointSize;
    return true;
}

bool ShowColorDialog(HWND owner, DWORD flags, COLORREF& colour)
{
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = colour;
    cc.lpCustColors = g_customColours;
    cc.Flags = flags | CC_RGBINIT;
    if (!::ChooseColorA(&cc))
        return false;
    colour = cc.rgbResult;
    return true;
}

} // namespace fw
