#pragma once
#include <windows.h>

#include <vector>

// The DPI a window or a point of the screen is drawn at. Where the system knows each
// monitor's own scaling (it asks the program to follow it through the manifest), that
// monitor's; on older systems, the one DPI of the whole desktop.
namespace fw {

// Sent to a top-level window whose DPI changed (named in headers for newer systems only).
constexpr UINT kDpiChangedMessage = 0x02E0;

int SystemDpi();
int WindowDpi(HWND hwnd);
int DpiAtPoint(POINT point);

// An icon resource at the size that fits `pixels` (a length designed at 96 dpi) at the
// DPI: the largest of the resource's drawings no larger than the scaled length.
int IconSizeForDpi(int pixels, int dpi);

// The pictures of a dialog in the drawings made for its DPI: bitmaps exist at 100 % to
// 200 % in quarter steps, icons at the sizes of those steps. At 96 dpi the controls keep
// what their template gave them. A control does not free an image it is handed, so this
// object holds them for as long as the dialog lives.
class DialogPictures {
public:
    DialogPictures() = default;
    ~DialogPictures();
    DialogPictures(const DialogPictures&) = delete;
    DialogPictures& operator=(const DialogPictures&) = delete;

    void SetBitmap(HWND dialog, int controlId, int bitmapId);
    // `pixels` is the icon's size at 96 dpi.
    void SetIcon(HWND dialog, int controlId, int iconId, int pixels);

private:
    std::vector<HBITMAP> m_bitmaps;
    std::vector<HICON> m_icons;
};

} // namespace fw
