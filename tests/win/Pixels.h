#pragma once
#include "core/NoteGeometry.h"
#include "WinTestUtil.h"

#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

// The window's pixels as they are on screen, read back once.
class Pixels {
public:
    explicit Pixels(HWND hwnd)
    {
        if (hwnd != ::GetDesktopWindow())
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpUntil([] { return false; }, 30);
        RECT rc;
        ::GetWindowRect(hwnd, &rc);
        m_w = rc.right - rc.left;
        m_h = rc.bottom - rc.top;
        HDC screen = ::GetDC(nullptr);
        HDC memory = ::CreateCompatibleDC(screen);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_w;
        info.bmiHeader.biHeight = -m_h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(memory, dib);
        ::BitBlt(memory, 0, 0, m_w, m_h, screen, rc.left, rc.top, SRCCOPY);
        ::GdiFlush();
        const auto* p = static_cast<const DWORD*>(bits);
        m_pixels.assign(p, p + m_w * m_h);
        ::SelectObject(memory, old);
        ::DeleteObject(dib);
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const
    {
        const DWORD v = m_pixels[static_cast<std::size_t>(y * m_w + x)];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // How many pixels of the box have the colour.
    int Count(const Box& box, COLORREF colour) const
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                n += At(x, y) == colour ? 1 : 0;
        return n;
    }
    int W() const { return m_w; }
    int H() const { return m_h; }

private:
    int m_w = 0;
    int m_h = 0;
    std::vector<DWORD> m_pixels;
};

} // namespace wintest
