#pragma once
#include "../framework/Menu.h"
#include "../framework/SystemLook.h"

#include <oleacc.h>

#include <list>
#include <memory>

// What an owner-drawn item carries. It begins with the system's record for owner-drawn
// menus, which a screen reader's library reads from outside the process: the item's text
// as it is said, without the access-letter mark. Then its command (-1 opens a submenu, 0
// is a separator), its text with "&" prefixes and tabs in the program's code page, and
// the icons drawn beside it. A record is never copied once a menu holds it: the spoken
// text is read through the pointer into the record itself.
struct MenuItemData {
    MSAAMENUINFO msaa = {static_cast<DWORD>(MSAA_MENU_SIG), 0, nullptr};
    wchar_t spoken[128] = {};
    int id = 0;
    char text[128] = {};
    int icon = 0;
    int checkIcon = 0;
};

// The icon of a command's menu item; false when the command has none of its own.
bool FindMenuIcon(int commandId, MenuItemData& record);

// A pop-up menu whose items the program draws itself: an icon per command (16 x 16 at
// 96 dpi, measured and drawn for the DPI of the screen the menu opens on), a
// raised frame under the mouse, a sunken box for checked items, embossed disabled
// items and etched separators.
class PIconMenu : public fw::Menu {
public:
    PIconMenu();
    ~PIconMenu() override;

    // Loads a menu resource and makes every item, submenus included, owner-drawn.
    bool LoadIconMenu(UINT resourceId);
    // A wrapper of the submenu at the position, owned by this object; null if none.
    // The submenu whose first item is the given command (the placeholder the resource
    // holds), wrapped so that its items are drawn; null when there is none.
    PIconMenu* SubMenuStartingWith(UINT firstCommand);
    PIconMenu* GetIconSubMenu(int position);
    bool AppendIconItem(UINT flags, UINT_PTR commandId, const char* text);
    // The DPI of the screen the menu opens on; submenus taken later share it.
    void SetDpi(int dpi) { m_dpi = dpi; }
    int Dpi() const { return m_dpi; }

    void MeasureItem(MEASUREITEMSTRUCT& item) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

    // The record an item's data names, when it is one of the records of a menu the
    // program holds; null otherwise. Another process can send measure and draw messages
    // whose item data is anything at all.
    static const MenuItemData* KnownRecord(ULONG_PTR itemData);
    // The answer to WM_MENUCHAR: the system knows no access letter of an item it does not
    // draw, so the owner of the menu finds the item whose "&" letter was typed.
    static LRESULT MenuChar(HMENU menu, wchar_t typed);

private:
    void MakeOwnerDrawn(HMENU menu);
    MenuItemData* NewRecord();
    HFONT MakeFont() const;
    int FontHeight() const;

    LOGFONTW m_font;
    // Taken when the menu is made: a menu is open for moments, and the look it opened
    // with is the one it keeps.
    fw::ChromeColours m_colours;
    int m_dpi;
    std::list<std::unique_ptr<MenuItemData>> m_items;
    std::list<std::unique_ptr<PIconMenu>> m_subMenus;
};
