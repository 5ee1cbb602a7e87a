#include "PIconMenu.h"

#include "../core/DpiScale.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Language.h"
#include "../framework/Strings.h"
#include "../res/resource.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <unordered_set>

namespace {

constexpr int kFontTwips = 220;
constexpr int kCheckMarkIcon = 187;
constexpr int kTextPadding = 24;
constexpr int kItemPadding = 4;

struct IconRow {
    int id;
    const char* label;
    int icon;
};

// Which icon each command's item shows. The labels name the commands for a reader;
// the text shown always comes from the menu itself.
constexpr IconRow kIconTable[] = {
    {32780, "Undo", 164},          {32811, "Redo", 168},           {32781, "Cut", 165},
    {32784, "Copy", 169},          {32782, "Paste", 167},          {32785, "Delete", 166},
    {32809, "Text Font...", 172},  {32810, "Text Color...", 179},  {32786, "Find...", 148},
    {32803, "Find Next", 170},     {32804, "Find Prev", 171},      {32771, "Hide Note", 174},
    {32820, "Roll Up/Back", 215},  {32773, "Set Alarms...", 159},  {32805, "Appearance...", 150},
    {32776, "Change Title...", 157}, {32797, "New Note", 128},     {32772, "Delete Note", 175},
    {32806, "Import Note...", 178}, {32807, "Export Note...", 177}, {32777, "EMail Note", 176},
    {32792, "Hide All Notes", 186}, {32791, "Show All Notes", 185}, {32818, "Pinvel Online...", 210},
    {32793, "Help...", 181},       {32794, "About...", 183},       {32795, "Exit Pinvel", 184},
    {32831, "Find Notes...", 221}, {32830, "Start with Windows", 224}, {32850, "Open Notes Folder", 225},
    {32851, "Back Up All Notes...", 226}, {32852, "Hotkeys...", 231}, {32855, "Check List", 234},
    {32856, "Bullets", 235},       {32858, "New Note from Clipboard", 167},
    {-1, nullptr, 0},
};

// A submenu has no command of its own: its item shows the icon named by the first
// command inside it, the placeholder the menu resource holds.
constexpr IconRow kSubMenuIconTable[] = {
    {32832, "Recently Deleted Notes", 222},
    {32833, "Agenda", 223},
    {32840, "Earlier Versions", 227},
    {32841, "Window Position", 229},
    {32844, "Transparency", 230},
    {32859, "Language", 210},
    {-1, nullptr, 0},
};

int SubMenuIcon(HMENU sub)
{
    const UINT first = ::GetMenuItemID(sub, 0);
    for (const IconRow* row = kSubMenuIconTable; row->id != -1; ++row) {
        if (static_cast<UINT>(row->id) == first)
            return row->icon;
    }
    return 0;
}

// An item's text as the menu resource holds it, in the program's code page.
std::string MenuText(HMENU menu, int position)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return fw::TextFromWide(text);
}

// What a screen reader says for an item: its text without the access-letter mark ("&&"
// is one "&"), cut to the record's field.
void SetSpoken(MenuItemData& record)
{
    const std::wstring wide = fw::WideFromText(record.text);
    std::size_t length = 0;
    for (std::size_t i = 0; i < wide.size() && length + 1 < std::size(record.spoken); ++i) {
        if (wide[i] == L'&' && i + 1 < wide.size())
            ++i;
        record.spoken[length++] = wide[i];
    }
    record.spoken[length] = L'\0';
    record.msaa.cchWText = static_cast<DWORD>(length);
    record.msaa.pszWText = record.spoken;
}

void SetText(MenuItemData& record, const char* text)
{
    // At most 127 characters are kept; the rest of the field stays zero.
    std::memset(record.text, 0, sizeof(record.text));
    if (text != nullptr) {
        const std::size_t length = std::strlen(text);
        std::memcpy(record.text, text, length < sizeof(record.text) - 1 ? length : sizeof(record.text) - 1);
    }
    SetSpoken(record);
}

// A command's record: its icon from the table, or none and the check mark.
void FillCommandRecord(MenuItemData& record, int commandId, const char* text)
{
    if (!FindMenuIcon(commandId, record)) {
        record.id = commandId;
        record.icon = 0;
        record.checkIcon = kCheckMarkIcon;
    }
    SetText(record, text);
}

void SetOwnerDrawn(HMENU menu, UINT item, bool byPosition, MenuItemData* record)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = MFT_OWNERDRAW;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    ::SetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info);
}

} // namespace

bool FindMenuIcon(int commandId, MenuItemData& record)
{
    for (const IconRow* row = kIconTable; row->id != -1; ++row) {
        if (row->id == commandId) {
            record.id = row->id;
            SetText(record, row->label);
            record.icon = row->icon;
            record.checkIcon = 0;
            return true;
        }
    }
    return false;
}

PIconMenu::PIconMenu()
    : m_colours(fw::Chrome()),
      m_dpi(fw::SystemDpi())
{
    std::memset(&m_font, 0, sizeof(m_font));
    m_font.lfHeight = kFontTwips;
    m_font.lfWeight = FW_NORMAL;
    m_font.lfCharSet = fw::TextCharSet();
    ::lstrcpynW(m_font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
}

namespace {

// Every item record of every live menu. One user-interface thread: no lock.
std::unordered_set<const MenuItemData*>& LiveRecords()
{
    static std::unordered_set<const MenuItemData*> records;
    return records;
}

} // namespace

PIconMenu::~PIconMenu()
{
    // A submenu belongs to its parent menu, which destroys it: its wrapper only lets go.
    for (auto& sub : m_subMenus)
        sub->Detach();
    m_subMenus.clear();
    DestroyMenu();
    for (const auto& record : m_items)
        LiveRecords().erase(record.get());
    m_items.clear();
}

MenuItemData* PIconMenu::NewRecord()
{
    m_items.push_back(std::make_unique<MenuItemData>());
    m_items.back()->msaa.pszWText = m_items.back()->spoken;
    LiveRecords().insert(m_items.back().get());
    return m_items.back().get();
}

const MenuItemData* PIconMenu::KnownRecord(ULONG_PTR itemData)
{
    const auto* record = reinterpret_cast<const MenuItemData*>(itemData);
    return LiveRecords().count(record) != 0 ? record : nullptr;
}

LRESULT PIconMenu::MenuChar(HMENU menu, wchar_t typed)
{
    wchar_t wanted[2] = {typed, L'\0'};
    ::CharUpperW(wanted);
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        const MenuItemData* record = KnownRecord(info.dwItemData);
        if (record == nullptr)
            continue;
        const std::wstring text = fw::WideFromText(record->text);
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != L'&')
                continue;
            if (text[i + 1] == L'&') {
                ++i;
                continue;
            }
            wchar_t letter[2] = {text[i + 1], L'\0'};
            ::CharUpperW(letter);
            if (letter[0] == wanted[0])
                return MAKELRESULT(position, MNC_EXECUTE);
            break;
        }
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

bool PIconMenu::LoadIconMenu(UINT resourceId)
{
    HMENU menu = fw::LoadLocalMenu(resourceId);
    if (menu == nullptr)
        return false;
    Attach(menu);
    MakeOwnerDrawn(menu);
    return true;
}

void PIconMenu::MakeOwnerDrawn(HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MenuItemData* record = NewRecord();
        if (HMENU sub = ::GetSubMenu(menu, position)) {
            MakeOwnerDrawn(sub);
            record->id = -1;
            SetText(*record, MenuText(menu, position).c_str());
            record->icon = SubMenuIcon(sub);
            record->checkIcon = kCheckMarkIcon;
        } else if (const UINT id = ::GetMenuItemID(menu, position); id != 0 && id != static_cast<UINT>(-1)) {
            FillCommandRecord(*record, static_cast<int>(id), MenuText(menu, position).c_str());
        }
        SetOwnerDrawn(menu, static_cast<UINT>(position), true, record);
    }
}

PIconMenu* PIconMenu::GetIconSubMenu(int position)
{
    if (!::IsMenu(GetHandle()))
        return nullptr;
    HMENU sub = ::GetSubMenu(GetHandle(), position);
    if (sub == nullptr)
        return nullptr;
    auto wrapper = std::make_unique<PIconMenu>();
    wrapper->m_font = m_font;
    wrapper->m_colours = m_colours;
    wrapper->m_dpi = m_dpi;
    wrapper->Attach(sub);
    m_subMenus.push_back(std::move(wrapper));
    return m_subMenus.back().get();
}

PIconMenu* PIconMenu::SubMenuStartingWith(UINT firstCommand)
{
    for (int i = 0; i < ::GetMenuItemCount(GetHandle()); ++i) {
        HMENU sub = ::GetSubMenu(GetHandle(), i);
        if (sub != nullptr && ::GetMenuItemID(sub, 0) == firstCommand)
            return GetIconSubMenu(i);
    }
    return nullptr;
}

bool PIconMenu::AppendIconItem(UINT flags, UINT_PTR commandId, const char* text)
{
    // Owner-drawn and bitmap items carry a value, not a text.
    if (flags & (MF_OWNERDRAW | MF_BITMAP))
        return ::AppendMenuW(GetHandle(), flags, commandId, reinterpret_cast<LPCWSTR>(text)) != FALSE;
    const std::wstring wide = fw::WideFromText(text != nullptr ? text : "");
    if (flags & (MF_POPUP | MF_SEPARATOR))
        return ::AppendMenuW(GetHandle(), flags, commandId, wide.c_str()) != FALSE;
    if (!::IsMenu(GetHandle()) || commandId == 0 || text == nullptr)
        return false;
    if (!::AppendMenuW(GetHandle(), flags, commandId, wide.c_str()))
        return false;
    MenuItemData* record = NewRecord();
    FillCommandRecord(*record, static_cast<int>(commandId), text);
    SetOwnerDrawn(GetHandle(), static_cast<UINT>(commandId), false, record);
    return true;
}

int PIconMenu::FontHeight() const
{
    return ::MulDiv(std::abs(m_font.lfHeight), m_dpi, 1440);
}

HFONT PIconMenu::MakeFont() const
{
    LOGFONTW font = m_font;
    font.lfHeight = FontHeight();
    return ::CreateFontIndirectW(&font);
}

void PIconMenu::MeasureItem(MEASUREITEMSTRUCT& item)
{
    const MenuItemData* record = KnownRecord(item.itemData);
    HDC screen = ::GetDC(nullptr);
    fw::Font font(MakeFont());
    const int height = FontHeight();
    {
        fw::SelectObject select(screen, font.Get());
        if (record == nullptr || record->id == 0) {
            item.itemWidth = 0;
            item.itemHeight = static_cast<UINT>(height / 2);
        } else {
            const std::wstring text = fw::WideFromText(record->text);
            const DWORD extent =
                ::GetTabbedTextExtentW(screen, text.c_str(), static_cast<int>(text.size()), 0, nullptr);
            RECT work = {};
            ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            const int cap = (work.right - work.left) / 3;
            const int width = LOWORD(extent) + ScaleForDpi(kTextPadding, m_dpi);
            item.itemWidth = static_cast<UINT>(width < cap ? width : cap);
            item.itemHeight = static_cast<UINT>(height + ScaleForDpi(kItemPadding, m_dpi));
        }
    }
    ::ReleaseDC(nullptr, screen);
}
