#include "PHoverButton.h"

#include "../core/NoteGeometry.h"
#include "../framework/DarkMode.h"
#include "../framework/Dialog.h"
#include "../framework/Gdi.h"
#include "../framework/Strings.h"
#include "../framework/SystemLook.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

constexpr UINT kTipDelayMs = 100;

// A tip resets its colours itself when it hears that a setting changed, so the dark look
// is checked against the colour the tip has. A tip made dark says so in its user data,
// so that the light look sets back only what the dark one changed.
void FollowLookInTip(HWND tip)
{
    const fw::ChromeColours colours = fw::Chrome();
    const bool dark = fw::CurrentLook() == fw::Look::Dark;
    const bool madeDark = ::GetWindowLongPtrW(tip, GWLP_USERDATA) != 0;
    if (dark && static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)) == colours.back)
        return;
    if (!dark && !madeDark)
        return;
    ::SetWindowLongPtrW(tip, GWLP_USERDATA, dark ? 1 : 0);
    ::SendMessageW(tip, TTM_SETTIPBKCOLOR, dark ? colours.back : ::GetSysColor(COLOR_INFOBK), 0);
    ::SendMessageW(tip, TTM_SETTIPTEXTCOLOR, dark ? colours.text : ::GetSysColor(COLOR_INFOTEXT), 0);
    // Where the system draws tips from a theme, the colours above count only in its dark one.
    fw::FollowLookInControl(tip, true);
}

// A button's picture on its back colour at one cell size, as it goes on the screen.
struct ImageKey {
    UINT bitmapId;
    COLORREF backColor;
    COLORREF keyColor;
    int width;
    int height;
    // CLR_INVALID: the picture as drawn; a colour: the picture's outline in it alone.
    COLORREF ink;
    bool operator<(const ImageKey& other) const
    {
        return std::tie(bitmapId, backColor, keyColor, width, height, ink) <
               std::tie(other.bitmapId, other.backColor, other.keyColor, other.width, other.height, other.ink);
    }
};

// Every note draws the same few pictures, and masking one takes a dozen GDI calls: a
// hundred notes shown at once would mask six hundred. Each image is composed once and
// copied after that. The count is bounded, so colour schemes and screen scales tried in
// one long session cannot pile up handles: a full cache starts again.
class ButtonImages {
public:
    HBITMAP Get(const ImageKey& key)
    {
        auto it = m_images.find(key);
        if (it != m_images.end())
            return it->second->Get();
        auto image = Compose(key);
        if (!image)
            return nullptr;
        if (m_images.size() >= kMaxImages)
            m_images.clear();
        return m_images.emplace(key, std::move(image)).first->second->Get();
    }

private:
    static constexpr std::size_t kMaxImages = 64;

    static std::unique_ptr<fw::Bitmap> Compose(const ImageKey& key)
    {
        // The drawing made for the cell's size, or the largest that fits, centred; a
        // drawing is never stretched.
        const int cell = std::min(key.width, key.height);
        const int step = ArtStep(cell, kButtonSize);
        HINSTANCE instance = fw::ResourceInstance();
        fw::Bitmap picture(
            ::LoadBitmapW(instance, MAKEINTRESOURCEW(ArtResourceId(static_cast<int>(key.bitmapId), step))));
        if (!picture)
            picture.Reset(::LoadBitmapW(instance, MAKEINTRESOURCEW(key.bitmapId)));
        if (!picture)
            return nullptr;
        const int offset = std::max((cell - ArtSize(kButtonSize, step)) / 2, 0);
        fw::WindowDC screen(nullptr, fw::WindowDC::Client);
        // Device-independent: it copies onto a screen of any format, and selecting it
        // for each copy asks nothing of the display, which a screen-format bitmap can.
        auto image = std::make_unique<fw::Bitmap>(ImageBitmap(screen.Get(), key.width, key.height));
        if (!*image)
            return nullptr;
        if (key.ink != CLR_INVALID)
            return DrawOutline(screen.Get(), picture.Get(), key, offset, std::move(image)) ? std::move(image) : nullptr;
        fw::MemoryDC memory(screen.Get());
        fw::SelectObject select(memory.Get(), image->Get());
        fw::FillSolid(memory.Get(), {0, 0, key.width, key.height}, key.backColor);
        DrawTransparent(memory.Get(), picture.Get(), offset, offset, key.keyColor);
        return image;
    }

    // 32 bits a pixel, top row first.
    static BITMAPINFO TopDownFormat(int width, int height)
    {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        return format;
    }

    static HBITMAP ImageBitmap(HDC screen, int width, int height)
    {
        const BITMAPINFO format = TopDownFormat(width, height);
        void* bits = nullptr;
        return ::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    static DWORD DibColour(COLORREF colour)
    {
        return (static_cast<DWORD>(GetRValue(colour)) << 16) | (static_cast<DWORD>(GetGValue(colour)) << 8) |
               GetBValue(colour);
    }

    // High contrast: colours of the picture would be colours the user did not choose, so
    // only the shape's edge is drawn, in the text colour: its pixels that touch the key
    // colour or the picture's border, a line as thick as the art's own strokes.
    static bool DrawOutline(HDC screen, HBITMAP picture, const ImageKey& key, int offset,
                            const std::unique_ptr<fw::Bitmap>& image)
    {
        BITMAP info = {};
        ::GetObjectW(picture, sizeof(info), &info);
        const int w = info.bmWidth;
        const int h = info.bmHeight;
        BITMAPINFO format = TopDownFormat(w, h);
        std::vector<DWORD> source(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
        if (w <= 0 || h <= 0 || ::GetDIBits(screen, picture, 0, static_cast<UINT>(h), source.data(), &format,
                                            DIB_RGB_COLORS) == 0)
            return false;
        const DWORD keyColour = DibColour(key.keyColor);
        auto inside = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < w && y < h &&
                   (source[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] &
                    0xFFFFFF) != keyColour;
        };
        const int reach = std::max(1, std::min(key.width, key.height) / 20);
        std::vector<DWORD> cell(static_cast<std::size_t>(key.width) * static_cast<std::size_t>(key.height),
                                DibColour(key.backColor));
        for (int y = 0; y < h && y + offset < key.height; ++y) {
            for (int x = 0; x < w && x + offset < key.width; ++x) {
                if (!inside(x, y))
                    continue;
                bool edge = false;
                for (int d = 1; d <= reach && !edge; ++d)
                    edge = !inside(x - d, y) || !inside(x + d, y) || !inside(x, y - d) || !inside(x, y + d);
                if (edge)
                    cell[static_cast<std::size_t>(y + offset) * static_cast<std::size_t>(key.width) +
                         static_cast<std::size_t>(x + offset)] = DibColour(key.ink);
            }
        }
        format.bmiHeader.biWidth = key.width;
        format.bmiHeader.biHeight = -key.height;
        return ::SetDIBits(screen, image->Get(), 0, static_cast<UINT>(key.height), cell.data(), &format,
                           DIB_RGB_COLORS) != 0;
    }

    std::map<ImageKey, std::unique_ptr<fw::Bitmap>> m_images;
};

ButtonImages& Images()
{
    static ButtonImages images;
    return images;
}

} // namespace

PHoverButton::~PHoverButton()
{
    // The tooltip is a popup owned by the button: it does not go with the button's window.
    if (m_tip != nullptr)
        ::DestroyWindow(m_tip);
}

bool PHoverButton::Create(const RECT& rect, HWND parent, UINT controlId, const ButtonSpec& description)
{
    m_commandId = description.commandId;
    m_bmpNormal = description.bmpNormal;
    m_bmpHover = description.bmpHover;
    m_bmpPressed = description.bmpPressed;
    m_bmpDisabled = description.bmpDisabled;
    m_keyColor = description.keyColor;
    m_backColor = description.backColor;
    m_tipText = description.tipText;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_OWNERDRAW;
    // Named as its tip says: the name is what a screen reader reads for the button.
    return CreateEx(WS_EX_TRANSPARENT, "BUTTON", m_tipText.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)));
}

void PHoverButton::SetTipText(const std::string& text)
{
    m_tipText = text;
    ::SetWindowTextW(m_hWnd, fw::WideFromText(text).c_str());
    if (m_tip != nullptr) {
        ::DestroyWindow(m_tip);
        m_tip = nullptr;
    }
}

void PHoverButton::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    m_tracking = false;
    m_state = Normal;
    DrawNow();
}

bool PHoverButton::PreTranslateMessage(MSG& msg)
{
    if (m_tip != nullptr)
        ::SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    return Wnd::PreTranslateMessage(msg);
}

LRESULT PHoverButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate(wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_MOUSELEAVE:
        return OnMouseLeave();
    case WM_ERASEBKGND:
        // The drawing covers the whole button.
        return TRUE;
    default:
        return DefWindowProc(msg, wParam, lParam);
    }
}

LRESULT PHoverButton::OnCreate(WPARAM wParam, LPARAM lParam)
{
    if (DefWindowProc(WM_CREATE, wParam, lParam) == -1)
        return -1;
    return 0;
}

// Made when the pointer first comes over the button: most buttons are never pointed at,
// and a hundred notes' tips are six hundred windows to make and destroy.
void PHoverButton::MakeTip(WPARAM wParam, LPARAM lParam)
{
    fw::UseCommonControls();
    m_tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, fw::ResourceInstance(),
                              nullptr);
    if (m_tip == nullptr)
        return;
    // The tip keeps its own copy of the text.
    std::wstring text = fw::WideFromText(m_tipText);
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.hinst = fw::ResourceInstance();
    tool.lpszText = &text[0];
    ::SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_tip, TTM_SETDELAYTIME, TTDT_INITIAL, kTipDelayMs);
    ::SendMessageW(m_tip, TTM_ACTIVATE, TRUE, 0);
    FollowLookInTip(m_tip);
    // The move that made it is the tip's first: it starts the delay from here.
    MSG first = {m_hWnd, WM_MOUSEMOVE, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::GetCursorPos(&first.pt);
    ::SendMessageW(m_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&first));
}

LRESULT PHoverButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (m_tip == nullptr)
        MakeTip(wParam, lParam);
    else
        FollowLookInTip(m_tip);
    const bool pushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    if (!m_tracking && !pushed) {
        m_tracking = true;
        m_state = Hover;
        DrawNow();
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::TrackMouseEvent(&track);
    }
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT PHoverButton::OnMouseLeave()
{
    m_tracking = false;
    m_state = Normal;
    DrawNow();
    return 0;
}

bool PHoverButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OnClicked();
        result = 0;
        return true;
    }
    return false;
}

void PHoverButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemAction & ODA_SELECT)
        m_state = (item.itemState & ODS_SELECTED) ? Pressed : Hover;
    else if (item.itemState & ODS_SELECTED)
        m_state = Pressed;
    else if (item.itemState & ODS_DISABLED)
        m_state = Disabled;
    else
        m_state = Normal;
    Draw(item.hDC);
}

void PHoverButton::OnClicked()
{
    // Posted, not sent: Hide and Delete destroy the window that holds this button, and
    // nothing of the button may run after that.
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr)
        ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(m_commandId, 0), 0);
}

void PHoverButton::DrawNow()
{
    if (m_hWnd == nullptr)
        return;
    fw::WindowDC dc(m_hWnd, fw::WindowDC::Client);
    Draw(dc.Get());
}

void PHoverButton::Draw(HDC dc)
{
    UINT id = m_bmpNormal;
    if (m_state == Hover)
        id = m_bmpHover;
    else if (m_state == Pressed)
        id = m_bmpPressed;
    else if (m_state == Disabled)
        id = m_bmpDisabled;
    if (id == 0)
        id = m_bmpNormal;
    if (id == 0)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    COLORREF back = m_backColor;
    COLORREF ink = CLR_INVALID;
    if (fw::HighContrastOn()) {
        const bool lit = m_state == Hover || m_state == Pressed;
        back = ::GetSysColor(lit ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        ink = ::GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    }
    HBITMAP image = Images().Get({id, back, m_keyColor, client.right, client.bottom, ink});
    if (image == nullptr)
        return;
    // One copy of the whole cell, so the fill never flickers.
    fw::MemoryDC memory(dc);
    fw::SelectObject select(memory.Get(), image);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void DrawTransparent(HDC target, HBITMAP bitmap, int x, int y, COLORREF keyColor)
{
    fw::MemoryDC image(target);
    fw::SelectObject selectImage(image.Get(), bitmap);
    ::SetMapMode(image.Get(), ::GetMapMode(target));
    BITMAP info;
    ::GetObjectW(bitmap, sizeof(info), &info);
    POINT size = {info.bmWidth, info.bmHeight};
    ::DPtoLP(image.Get(), &size, 1);

    fw::MemoryDC back(target), object(target), work(target), save(target);
    fw::Bitmap backBits(::CreateBitmap(size.x, size.y, 1, 1, nullptr));
    fw::Bitmap objectBits(::CreateBitmap(size.x, size.y, 1, 1, nullptr));
    fw::Bitmap workBits(::CreateCompatibleBitmap(target, size.x, size.y));
    fw::Bitmap saveBits(::CreateCompatibleBitmap(target, size.x, size.y));
    fw::SelectObject selectBack(back.Get(), backBits.Get());
    fw::SelectObject selectObject(object.Get(), objectBits.Get());
    fw::SelectObject selectWork(work.Get(), workBits.Get());
    fw::SelectObject selectSave(save.Get(), saveBits.Get());
    ::SetMapMode(save.Get(), ::GetMapMode(target));

    ::BitBlt(save.Get(), 0, 0, size.x, size.y, image.Get(), 0, 0, SRCCOPY);
    // Mask: 1 where the image has the key colour.
    const COLORREF oldBack = ::SetBkColor(image.Get(), keyColor);
    ::BitBlt(object.Get(), 0, 0, size.x, size.y, image.Get(), 0, 0, SRCCOPY);
    ::SetBkColor(image.Get(), oldBack);
    ::BitBlt(back.Get(), 0, 0, size.x, size.y, object.Get(), 0, 0, NOTSRCCOPY);

    ::BitBlt(work.Get(), 0, 0, size.x, size.y, target, x, y, SRCCOPY);
    ::BitBlt(work.Get(), 0, 0, size.x, size.y, object.Get(), 0, 0, SRCAND);
    ::BitBlt(image.Get(), 0, 0, size.x, size.y, back.Get(), 0, 0, SRCAND);
    ::BitBlt(work.Get(), 0, 0, size.x, size.y, image.Get(), 0, 0, SRCPAINT);
    ::BitBlt(target, x, y, size.x, size.y, work.Get(), 0, 0, SRCCOPY);
    ::BitBlt(image.Get(), 0, 0, size.x, size.y, save.Get(), 0, 0, SRCCOPY);
}
