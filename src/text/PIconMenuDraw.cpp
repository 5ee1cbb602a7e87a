// Drawing of one owner-drawn menu item, off screen and copied in one step.
#include "PIconMenu.h"

#include "../core/DpiScale.h"
#include "../framework/Dpi.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"

#include <cstring>

namespace {

constexpr int kIconColumn = 24;
constexpr int kIconBox = 22;
constexpr int kIconSize = 16;
constexpr int kIconLeft = 3;


// A one-pixel 3-D frame just inside the rectangle.
void Frame3D(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    const int r = rect.right - 1;
    const int b = rect.bottom - 1;
    fw::Pen first(::CreatePen(PS_SOLID, 1, topLeft));
    fw::Pen second(::CreatePen(PS_SOLID, 1, bottomRight));
    {
        fw::SelectObject select(dc, first.Get());
        ::MoveToEx(dc, rect.left, b, nullptr);
        ::LineTo(dc, rect.left, rect.top);
        ::LineTo(dc, r, rect.top);
    }
    fw::SelectObject select(dc, second.Get());
    ::MoveToEx(dc, r, rect.top, nullptr);
    ::LineTo(dc, r, b);
    ::LineTo(dc, rect.left - 1, b);
}

} // namespace

void PIconMenu::DrawItem(const DRAWITEMSTRUCT& item)
{
    const MenuItemData* record = KnownRecord(item.itemData);
    if (record == nullptr)
        return;
    const int w = item.rcItem.right - item.rcItem.left;
    const int h = item.rcItem.bottom - item.rcItem.top;
    if (w <= 0 || h <= 0)
        return;
    fw::MemoryDC memory(item.hDC);
    fw::Bitmap canvas(::CreateCompatibleBitmap(item.hDC, w, h));
    fw::SelectObject selectCanvas(memory.Get(), canvas.Get());
    HDC dc = memory.Get();
    fw::Font font(MakeFont());
    fw::SelectObject selectFont(dc, font.Get());

    const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool selected = (item.itemAction & ODA_SELECT) != 0 && (item.itemState & ODS_SELECTED) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;
    const RECT whole = {0, 0, w, h};

    if (record->id == 0) {
        // An etched line across the middle.
        fw::FillSolid(dc, whole, m_colours.back);
        const RECT line = {0, h / 2, w, h / 2 + 2};
        Frame3D(dc, line, m_colours.shadow, m_colours.light);
        ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, dc, 0, 0, SRCCOPY);
        return;
    }

    fw::FillSolid(dc, whole, selected ? m_colours.selectedBack : m_colours.back);
    const int iconColumn = ScaleForDpi(kIconColumn, m_dpi);
    const int iconSize = fw::IconSizeForDpi(kIconSize, m_dpi);
    // The icon is centred where a scaled one would sit, when its drawing is smaller.
    const int iconLeft = ScaleForDpi(kIconLeft, m_dpi) + (ScaleForDpi(kIconSize, m_dpi) - iconSize) / 2;
    const RECT column = {0, 0, iconColumn, h};
    const RECT box = {0, 0, ScaleForDpi(kIconBox, m_dpi), h};
    const int iconTop = (h - iconSize) / 2;

    if (disabled) {
        const fw::Icon icon(static_cast<UINT>(record->icon), iconSize);
        if (record->icon != 0)
            fw::FillSolid(dc, column, m_colours.back);
        if (icon.Get() != nullptr)
            ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.Get()), 0, iconLeft, iconTop, iconSize, iconSize,
                         DST_ICON | DSS_DISABLED);
    } else if (checked) {
        const int shown = record->checkIcon != 0 ? record->checkIcon : record->icon;
        if (shown != 0) {
            const fw::Icon icon(static_cast<UINT>(shown), iconSize);
            fw::FillSolid(dc, column, m_colours.back);
            fw::FillSolid(dc, box, selected ? m_colours.checkedBoxSelected : m_colours.checkedBox);
            if (icon.Get() != nullptr)
                ::DrawIconEx(dc, iconLeft, iconTop, icon.Get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
            Frame3D(dc, box, m_colours.shadow, m_colours.light);
        }
    } else if (record->icon != 0) {
        const fw::Icon icon(static_cast<UINT>(record->icon), iconSize);
        fw::FillSolid(dc, column, m_colours.back);
        if (icon.Get() != nullptr)
            ::DrawIconEx(dc, iconLeft, iconTop, icon.Get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
        if (selected)
            Frame3D(dc, box, m_colours.light, m_colours.shadow);
    }

    if (record->text[0] != '\0') {
        RECT text = {iconColumn, 0, w, h};
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS;
        const std::wstring shown = fw::WideFromText(record->text);
        const int length = static_cast<int>(shown.size());
        ::SetBkMode(dc, TRANSPARENT);
        if (disabled && !m_colours.embossDisabled) {
            ::SetTextColor(dc, m_colours.grayText);
        } else if (disabled) {
            const int lift = ScaleForDpi(1, m_dpi);
            RECT raised = {text.left + lift, text.top + lift, text.right + lift, text.bottom + lift};
            ::SetTextColor(dc, m_colours.light);
            ::DrawTextW(dc, shown.c_str(), length, &raised, format);
            ::SetTextColor(dc, m_colours.shadow);
        } else {
            ::SetTextColor(dc, selected ? m_colours.selectedText : m_colours.text);
        }
        ::DrawTextW(dc, shown.c_str(), length, &text, format);
    }
    ::BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, dc, 0, 0, SRCCOPY);
}
