#include "Menu.h"

#include <unordered_map>

namespace fw {

namespace {

std::unordered_map<HMENU, Menu*>& MenuMap()
{
    static std::unordered_map<HMENU, Menu*> map;
    return map;
}

} // namespace

Menu::~Menu()
{
    DestroyMenu();
}

void Menu::Attach(HMENU menu)
{
    Detach();
    m_menu = menu;
    if (menu != nullptr)
        MenuMap()[menu] = this;
}

HMENU Menu::Detach()
{
    HMENU menu = m_menu;
    if (menu != nullptr)
        MenuMap().erase(menu);
    m_menu = nullptr;
    return menu;
}

void Menu::DestroyMenu()
{
    if (HMENU menu = Detach())
        ::DestroyMenu(menu);
}

Menu* Menu::FromHandle(HMENU menu)
{
    auto it = MenuMap().find(menu);
    return it == MenuMap().end() ? nullptr : it->second;
}

Menu* Menu::FindOwnerOfItem(UINT itemId)
{
    Menu* any = nullptr;
    for (auto& [handle, menu] : MenuMap()) {
        if (::GetMenuState(handle, itemId, MF_BYCOMMAND) != static_cast<UINT>(-1))
            return menu;
        any = menu;
    }
    return any;
}

bool Menu::RouteOwnerDraw(UINT msg, LPARAM lParam)
{
    if (msg == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_MENU)
            return false;
        Menu* menu = FromHandle(reinterpret_cast<HMENU>(item.hwndItem));
        if (menu == nullptr)
            return false;
        menu->DrawItem(item);
        return true;
    }
    if (msg == WM_MEASUREITEM) {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_MENU)
            return false;
        Menu* menu = FindOwnerOfItem(item.itemID);
        if (menu == nullptr)
            return false;
        menu->MeasureItem(item);
        return true;
    }
    return false;
}

} // namespace fw
