#pragma once
#include <windows.h>

namespace fw {

// A menu handle owned by an object. Objects are found from their handles, so that the
// owner-draw requests of a menu reach the object that made it.
class Menu {
public:
    Menu() = default;
    virtual ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    HMENU GetHandle() const { return m_menu; }
    void Attach(HMENU menu);
    HMENU Detach();
    void DestroyMenu();

    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT&) {}

    static Menu* FromHandle(HMENU menu);
    // The menu object that holds a command, or any live menu object when none does.
    static Menu* FindOwnerOfItem(UINT itemId);

    // The default handling of WM_MEASUREITEM and WM_DRAWITEM for menu items: hands the
    // request to the menu object that owns the item. False when it is not a menu's.
    static bool RouteOwnerDraw(UINT msg, LPARAM lParam);

private:
    HMENU m_menu = nullptr;
};

} // namespace fw
