#include "text/PIconMenu.h"

#include "framework/Language.h"
#include "framework/Strings.h"
#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

namespace {

const MenuItemData* Record(HMENU menu, int position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u) << position;
    return reinterpret_cast<const MenuItemData*>(info.dwItemData);
}

void ExpectRecord(const MenuItemData* r, int id, const char* text, int icon, int checkIcon)
{
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->id, id);
    EXPECT_STREQ(r->text, text);
    EXPECT_EQ(r->icon, icon);
    EXPECT_EQ(r->checkIcon, checkIcon);
}

TEST(IconMenu, NoteMenuItemsCarryTheirCommandsIcons)
{
    PIconMenu menu;
    ASSERT_TRUE(menu.LoadIconMenu(143));
    HMENU popup = ::GetSubMenu(menu.GetHandle(), 0);
    ASSERT_EQ(::GetMenuItemCount(popup), 25);
    ExpectRecord(Record(popup, 0), 32809, "\xCE\xC4\xB1\xBE\xD7\xD6\xCC\xE5(&o)...", 172, 0);
    ExpectRecord(Record(popup, 2), -1, "\xB1\xE0\xBC\xAD(&E)", 0, 187);
    ExpectRecord(Record(popup, 6), 0, "", 0, 0);
    ExpectRecord(Record(popup, 12), -1, "\xB4\xB0\xBF\xDA\xCE\xBB\xD6\xC3(&W)", 229, 187);
    ExpectRecord(Record(popup, 13), -1, "\xCD\xB8\xC3\xF7\xB6\xC8(&Y)", 230, 187);
    ExpectRecord(Record(popup, 18), 32797, "\xD0\xC2\xBD\xA8\xB1\xCA\xBC\xC7(&N)", 128, 0);
    HMENU edit = ::GetSubMenu(popup, 2);
    ExpectRecord(Record(edit, 0), 32780, "\xB3\xB7\xCF\xFA(&U)\t\tCrtl+Z", 164, 0);
    // Select All has no icon of its own.
    ExpectRecord(Record(edit, 9), 32783, "\xC8\xAB\xD1\xA1(&l)\tCtrl+A", 0, 187);
    ExpectRecord(Record(popup, 21), -1, "\xD4\xE7\xC6\xDA\xB0\xE6\xB1\xBE(&B)", 227, 187);
    ExpectRecord(Record(::GetSubMenu(menu.GetHandle(), 0), 24), 32777, "\xD3\xCA\xBC\xFE\xB1\xCA\xBC\xC7(&m)...", 176, 0);
}

TEST(IconMenu, TrayMenuAndItemsAddedAtRunTime)
{
    PIconMenu menu;
    ASSERT_TRUE(menu.LoadIconMenu(146));
    PIconMenu* popup = menu.GetIconSubMenu(0);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(::GetMenuItemCount(popup->GetHandle()), 21);
    ExpectRecord(Record(popup->GetHandle(), 1), 32831, "\xB2\xE9\xD5\xD2\xB1\xCA\xBC\xC7(&F)...", 221, 0);
    // A submenu's item takes its icon from the placeholder command inside it.
    ExpectRecord(Record(popup->GetHandle(), 4), -1, "\xCF\xD4\xCA\xBE\xB1\xCA\xBC\xC7(&o)", 0, 187);
    ExpectRecord(Record(popup->GetHandle(), 5), -1,
                 "\xD7\xEE\xBD\xFC\xC9\xBE\xB3\xFD\xB5\xC4\xB1\xCA\xBC\xC7(&R)", 222, 187);
    ExpectRecord(Record(popup->GetHandle(), 6), -1, "\xCC\xE1\xD0\xD1\xC8\xD5\xB3\xCC(&G)", 223, 187);
    ExpectRecord(Record(popup->GetHandle(), 10), 32818, "\xB7\xC3\xCE\xCA\xD6\xF7\xD2\xB3(&V)...", 210, 0);
    ExpectRecord(Record(popup->GetHandle(), 13), 32830, "\xBF\xAA\xBB\xFA\xCA\xB1\xC6\xF4\xB6\xAF(&W)", 224, 0);
    ExpectRecord(Record(popup->GetHandle(), 15), 32850, "\xB4\xF2\xBF\xAA\xB1\xCA\xBC\xC7\xCE\xC4\xBC\xFE\xBC\xD0(&D)", 225, 0);
    ExpectRecord(Record(popup->GetHandle(), 16), 32851, "\xB1\xB8\xB7\xDD\xCB\xF9\xD3\xD0\xB1\xCA\xBC\xC7(&B)...", 226, 0);
    ExpectRecord(Record(popup->GetHandle(), 17), 32852, "\xBF\xEC\xBD\xDD\xBC\xFC(&K)...", 231, 0);
    ExpectRecord(Record(popup->GetHandle(), 18), -1, "\xD3\xEF\xD1\xD4 / Language(&L)", 210, 187);
    ExpectRecord(Record(popup->GetHandle(), 20), 32795, "\xCD\xCB\xB3\xF6(&E)", 184, 0);
    PIconMenu* notes = popup->GetIconSubMenu(4);
    ASSERT_NE(notes, nullptr);
    ExpectRecord(Record(notes->GetHandle(), 0), 32802, "(\xC3\xBB\xD3\xD0)", 0, 187);
    EXPECT_EQ(popup->GetIconSubMenu(0), nullptr) << "no submenu there";

    const std::string longTitle(200, 'x');
    EXPECT_TRUE(notes->AppendIconItem(MF_STRING, 50000, longTitle.c_str()));
    const MenuItemData* added = Record(notes->GetHandle(), 1);
    EXPECT_EQ(std::string(added->text), std::string(127, 'x'));
    EXPECT_EQ(added->icon, 0);
    EXPECT_EQ(added->checkIcon, 187);
    EXPECT_TRUE(notes->AppendIconItem(MF_STRING, 32794, "About"));
    EXPECT_EQ(Record(notes->GetHandle(), 2)->icon, 183);
    EXPECT_FALSE(notes->AppendIconItem(MF_STRING, 0, "no command"));
    EXPECT_FALSE(notes->AppendIconItem(MF_STRING, 50001, nullptr));
    EXPECT_TRUE(notes->AppendIconItem(MF_SEPARATOR, 0, nullptr)) << "passed on as it is";
}

// What a screen reader's library reads of an owner-drawn item from another process: the
// record the item data points at, if it begins with the signature, and the text it names.
std::wstring SpokenText(HMENU menu, int position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    MSAAMENUINFO header = {};
    SIZE_T read = 0;
    if (!::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(info.dwItemData), &header,
                             sizeof(header), &read) ||
        header.dwMSAASignature != static_cast<DWORD>(MSAA_MENU_SIG))
        return L"<no record>";
    std::wstring text(header.cchWText, L'\0');
    if (header.cchWText > 0 && !::ReadProcessMemory(::GetCurrentProcess(), header.pszWText, &text[0],
                                                    header.cchWText * sizeof(wchar_t), &read))
        return L"<unreadable>";
    return text;
}

// Each letter leads to its one item, whatever its case; the system cannot know the
// letters of items it does not draw. The number of items that have one.
std::size_t UniqueAccessLetters(HMENU menu, int count)
{
    std::vector<wchar_t> letters;
    for (int i = 0; i < count; ++i) {
        const std::string text = Record(menu, i)->text;
        std::size_t mark = text.find('&');
        while (mark != std::string::npos && mark + 1 < text.size() && text[mark + 1] == '&')
            mark = text.find('&', mark + 2);
        if (mark == std::string::npos || mark + 1 >= text.size())
            continue;
        const wchar_t letter = static_cast<wchar_t>(std::towupper(static_cast<unsigned char>(text[mark + 1])));
        EXPECT_EQ(std::count(letters.begin(), letters.end(), letter), 0) << "a second " << static_cast<char>(letter);
        letters.push_back(letter);
        EXPECT_EQ(PIconMenu::MenuChar(menu, static_cast<wchar_t>(std::towlower(letter))), MAKELRESULT(i, MNC_EXECUTE));
    }
    return letters.size();
}

TEST(IconMenu, ItemsCarryTheirSpokenTextsAndAnAccessLetterEach)
{
    PIconMenu menu;
    ASSERT_TRUE(menu.LoadIconMenu(146));
    PIconMenu* popup = menu.GetIconSubMenu(0);
    ASSERT_NE(popup, nullptr);
    HMENU tray = popup->GetHandle();
    EXPECT_EQ(SpokenText(tray, 0), L"\x65B0\x5EFA\x7B14\x8BB0(N)") << "without the access-letter mark";
    EXPECT_EQ(SpokenText(tray, 3), L"") << "a separator says nothing";
    EXPECT_EQ(SpokenText(tray, 6), L"\x63D0\x9192\x65E5\x7A0B(G)") << "a submenu's item too";
    EXPECT_TRUE(popup->AppendIconItem(MF_STRING, 50000, "Tom && Jerry"));
    EXPECT_EQ(SpokenText(tray, 21), L"Tom & Jerry");
    EXPECT_EQ(UniqueAccessLetters(tray, 21), 17u);
    EXPECT_EQ(PIconMenu::MenuChar(tray, L'q'), MAKELRESULT(0, MNC_IGNORE));
}

// A record like the given one that the menu itself holds, as its item data: the menu
// measures and draws only its own records.
ULONG_PTR Held(PIconMenu& menu, const MenuItemData& like)
{
    if (menu.GetHandle() == nullptr)
        menu.Attach(::CreatePopupMenu());
    const UINT id = static_cast<UINT>(::GetMenuItemCount(menu.GetHandle()) + 1);
    menu.AppendIconItem(MF_STRING, id, "x");
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(menu.GetHandle(), id, FALSE, &info);
    *reinterpret_cast<MenuItemData*>(info.dwItemData) = like;
    return info.dwItemData;
}

TEST(IconMenu, MeasuresAt96DpiAndAtTheScreensDpi)
{
    PIconMenu menu;
    MenuItemData like;
    like.id = 32797;
    std::strcpy(like.text, "New");
    const ULONG_PTR separator = Held(menu, MenuItemData());
    const ULONG_PTR held = Held(menu, like);
    MenuItemData& item = *reinterpret_cast<MenuItemData*>(held);
    MEASUREITEMSTRUCT m = {};
    m.CtlType = ODT_MENU;
    m.itemData = separator;
    menu.MeasureItem(m);
    EXPECT_EQ(m.itemHeight, 7u);
    EXPECT_EQ(m.itemWidth, 0u);
    m.itemData = held;
    menu.MeasureItem(m);
    EXPECT_EQ(m.itemHeight, 19u);
    EXPECT_GT(m.itemWidth, 24u);
    EXPECT_LT(m.itemWidth, 80u);
    std::memset(item.text, 'W', 127);
    menu.MeasureItem(m);
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(static_cast<int>(m.itemWidth), (work.right - work.left) / 3);

    // On a screen at 150 %: 22-pixel text and 6 of padding, separators half the text.
    menu.SetDpi(144);
    menu.MeasureItem(m);
    EXPECT_EQ(m.itemHeight, 28u);
    m.itemData = separator;
    menu.MeasureItem(m);
    EXPECT_EQ(m.itemHeight, 11u);
}

// Draws one item 120 x 19 into a bitmap and reads its pixels.
class DrawnItem {
public:
    DrawnItem(const MenuItemData& record, UINT action, UINT state, int dpi = 96)
    {
        HDC screen = ::GetDC(nullptr);
        m_dc = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, kW, kH);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_dc, m_bitmap);
        PIconMenu menu;
        menu.SetDpi(dpi);
        const ULONG_PTR held = Held(menu, record);
        DRAWITEMSTRUCT d = {};
        d.CtlType = ODT_MENU;
        d.itemAction = action;
        d.itemState = state;
        d.hDC = m_dc;
        d.rcItem = {0, 0, kW, kH};
        d.itemData = held;
        menu.DrawItem(d);
    }
    ~DrawnItem()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc, x, y); }
    int Count(int x0, int y0, int x1, int y1, COLORREF c) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == c ? 1 : 0;
        return n;
    }
    static constexpr int kW = 120;
    static constexpr int kH = 19;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

MenuItemData Item(int id, const char* text, int icon, int checkIcon)
{
    MenuItemData r;
    r.id = id;
    std::strcpy(r.text, text);
    r.icon = icon;
    r.checkIcon = checkIcon;
    return r;
}

TEST(IconMenu, DrawnStates)
{
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    using D = DrawnItem;

    const MenuItemData withIcon = Item(32797, "New", 128, 0);
    const D selected(withIcon, ODA_SELECT, ODS_SELECTED);
    EXPECT_EQ(selected.At(23, 0), menuColour) << "the icon column keeps the menu colour";
    EXPECT_EQ(selected.At(100, 10), highlight);
    EXPECT_EQ(selected.At(0, 5), light) << "raised frame";
    EXPECT_EQ(selected.At(21, 5), shadow);
    const D drawnWhole(withIcon, ODA_DRAWENTIRE, ODS_SELECTED);
    EXPECT_EQ(drawnWhole.At(100, 10), menuColour) << "selected only in a selection request";

    const MenuItemData plain = Item(50000, "Note", 0, 187);
    EXPECT_EQ(D(plain, ODA_SELECT, ODS_SELECTED).At(1, 1), highlight) << "no icon: the whole width";
    const D checked(plain, ODA_DRAWENTIRE, ODS_CHECKED);
    EXPECT_EQ(checked.At(1, 1), RGB(230, 230, 230));
    EXPECT_EQ(checked.At(0, 5), shadow) << "sunken box";
    EXPECT_EQ(checked.At(23, 5), menuColour);

    const D disabled(withIcon, ODA_DRAWENTIRE, ODS_GRAYED | ODS_CHECKED);
    EXPECT_GT(disabled.Count(24, 0, D::kW, D::kH, shadow), 5) << "engraved text";
    EXPECT_GT(disabled.Count(25, 0, D::kW, D::kH, light), 5);
    EXPECT_NE(disabled.At(1, 1), RGB(230, 230, 230)) << "no check box when disabled";
    int other = 0;
    for (int y = 0; y < D::kH; ++y)
        for (int x = 0; x < 24; ++x) {
            const COLORREF c = disabled.At(x, y);
            other += (c != menuColour && c != shadow && c != light) ? 1 : 0;
        }
    EXPECT_EQ(other, 0) << "an embossed icon has only the 3-D colours";

    // At 150 % the check box is 33 pixels wide and the icon is the 24-pixel drawing.
    const D checkedAt144(withIcon, ODA_DRAWENTIRE, ODS_CHECKED, 144);
    EXPECT_EQ(checkedAt144.At(31, 2), RGB(230, 230, 230));
    EXPECT_EQ(checkedAt144.At(32, 5), light);
    EXPECT_GT(checkedAt144.Count(5 + 16, 0, 5 + 24, D::kH, RGB(230, 230, 230)), 0);
    EXPECT_LT(checkedAt144.Count(5 + 16, 0, 5 + 24, D::kH, RGB(230, 230, 230)), 8 * D::kH) << "the icon reaches past 16";

    const D separator(Item(0, "", 0, 0), ODA_DRAWENTIRE, 0);
    EXPECT_EQ(separator.Count(0, D::kH / 2, D::kW, D::kH / 2 + 1, shadow), D::kW - 1);
    EXPECT_EQ(separator.Count(1, D::kH / 2 + 1, D::kW, D::kH / 2 + 2, light), D::kW - 1);
    EXPECT_EQ(separator.At(50, 2), menuColour);
}

} // namespace

namespace {

TEST(IconMenu, EnglishMenusHaveAnAccessLetterEachAndTheNamesWrittenStayChinese)
{
    struct English {
        English() { fw::SetUiLanguage(UiLanguage::English); }
        ~English() { fw::SetUiLanguage(UiLanguage::Chinese); }
    } english;
    PIconMenu tray;
    ASSERT_TRUE(tray.LoadIconMenu(146));
    HMENU popup = ::GetSubMenu(tray.GetHandle(), 0);
    EXPECT_EQ(SpokenText(popup, 0), L"New Note");
    EXPECT_EQ(UniqueAccessLetters(popup, ::GetMenuItemCount(popup)), 17u);
    PIconMenu note;
    ASSERT_TRUE(note.LoadIconMenu(143));
    HMENU context = ::GetSubMenu(note.GetHandle(), 0);
    EXPECT_EQ(UniqueAccessLetters(context, ::GetMenuItemCount(context)), 22u);
    EXPECT_EQ(UniqueAccessLetters(::GetSubMenu(context, 2), 10), 8u);

    EXPECT_EQ(fw::LoadResString(IDS_TRAY_TIP), "Pinvel Desktop Notes");
    for (UINT fixed : {IDS_NOTES_FOLDER, IDS_DELETED_FOLDER, IDS_HISTORY_FOLDER, IDS_RESCUE_FOLDER, IDS_OPTIONS_FILE,
                       IDS_HOME_RECORD, IDS_DEFAULT_TITLE}) {
        EXPECT_EQ(fw::LoadResStringW(fixed), fw::LocalString(fixed, UiLanguage::Chinese)) << fixed;
        EXPECT_GT(fw::LoadResStringW(fixed)[0], 0x2000) << fixed;
    }
}

} // namespace
