#pragma once
#include <windows.h>

// Owners for the GDI objects and device contexts made for one drawing: each is deleted
// or released when its owner goes out of scope, on every way out.
namespace fw {

// How many GDI objects and device contexts the owners below hold right now: a drawing
// that forgets one shows up here (tests run thousands of paints and compare).
inline int& LiveGdiHandles()
{
    static int count = 0;
    return count;
}

template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object) : m_object(object)
    {
        if (m_object != nullptr)
            ++LiveGdiHandles();
    }
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void Reset(T object = nullptr)
    {
        if (m_object != nullptr) {
            ::DeleteObject(m_object);
            --LiveGdiHandles();
        }
        m_object = object;
        if (m_object != nullptr)
            ++LiveGdiHandles();
    }

private:
    T m_object = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// An icon loaded for one use: a handle, or an icon resource of the program at a size
// (resource id 0: none).
class Icon {
public:
    explicit Icon(HICON icon) : m_icon(icon) {}
    Icon(UINT resourceId, int size)
        : m_icon(resourceId == 0 ? nullptr
                                 : static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                                   MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size,
                                                                   size, LR_DEFAULTCOLOR)))
    {
    }
    ~Icon()
    {
        if (m_icon != nullptr)
            ::DestroyIcon(m_icon);
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    HICON Get() const { return m_icon; }

private:
    HICON m_icon;
};

// Selects an object into a device context and selects the previous one back.
class SelectObject {
public:
    SelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectObject() { ::SelectObject(m_dc, m_previous); }
    SelectObject(const SelectObject&) = delete;
    SelectObject& operator=(const SelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Fills a rectangle with one colour, leaving the context's background colour set to it.
inline void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// SaveDC now, RestoreDC at the end of the scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~SavedDC() { ::RestoreDC(m_dc, m_saved); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_dc;
    int m_saved;
};

// The device context of a whole window (GetWindowDC) or of its client area (GetDC).
class WindowDC {
public:
    enum Area { Whole, Client };
    explicit WindowDC(HWND hwnd, Area area = Whole)
        : m_hwnd(hwnd), m_dc(area == Whole ? ::GetWindowDC(hwnd) : ::GetDC(hwnd))
    {
        if (m_dc != nullptr)
            ++LiveGdiHandles();
    }
    ~WindowDC()
    {
        if (m_dc != nullptr) {
            ::ReleaseDC(m_hwnd, m_dc);
            --LiveGdiHandles();
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// A memory device context compatible with another one.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) : m_dc(::CreateCompatibleDC(compatibleWith))
    {
        if (m_dc != nullptr)
            ++LiveGdiHandles();
    }
    ~MemoryDC()
    {
        if (m_dc != nullptr) {
            ::DeleteDC(m_dc);
            --LiveGdiHandles();
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

} // namespace fw
