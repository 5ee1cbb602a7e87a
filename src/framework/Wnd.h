#pragma once
#include <windows.h>

namespace fw {

// Base of every window object of the program. The object takes its window over while
// CreateWindowExW runs, so WM_NCCREATE and WM_CREATE already reach the object's
// WindowProc: a class of the program's own (RegisterClassOnce) hands its first message to
// the object being made; a window of a system class is watched by a thread-local CBT hook.
// A window handle maps to at most one object.
class Wnd {
public:
    Wnd() = default;
    virtual ~Wnd();
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    bool IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menuOrId);
    bool DestroyWindow();

    // Windows are wide: a message that carries text carries UTF-16.
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }

    // The object that owns the window, or null for windows that are not the program's.
    static Wnd* FromHandle(HWND hwnd);

    // For tests: called by CreateEx once the take-over is armed, just before the window
    // is created, so that a test can make a window of its own in between.
    static void SetBeforeCreateHook(void (*hook)());

    // Called by the message loop for every queued message aimed at this window or one
    // of its children, before it is translated and dispatched. True swallows it.
    virtual bool PreTranslateMessage(MSG& msg);

protected:
    // The message handler of the window; the base hands everything to the window
    // procedure that was in place before the takeover.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Called after the last message (WM_NCDESTROY), when the object no longer has a window.
    virtual void PostNcDestroy() {}

    // True for a window of a system class whose messages while it is made are all the
    // class's own business: it is taken over once made, and no hook watches its making,
    // which under Wine costs a third of a millisecond for every window made meanwhile.
    virtual bool TakenOverOnceMade() const { return false; }

    // WM_COMMAND, WM_NOTIFY and WM_DRAWITEM sent to a parent are first offered to the
    // object of the child they come from, whichever window is the parent at the time.
    // True when the child handled it; result is then the parent's answer.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Used by dialogs, whose windows are created by the dialog manager.
    void Attach(HWND hwnd, WNDPROC superProc);
    // Takes over a window made by someone else (a property sheet): its messages reach
    // WindowProc from now on, and DefWindowProc hands them to its own procedure.
    void SubclassWindow(HWND hwnd);
    void Detach();

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The procedure of the program's own classes: the first message of a window made by
    // CreateEx joins it to its object.
    static LRESULT CALLBACK StartWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    friend bool RegisterClassOnce(const char* className, UINT classStyle, UINT iconId, const wchar_t* systemCursor,
                                  HBRUSH background);
    friend LRESULT DispatchToObject(Wnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    friend bool ReflectToChild(Wnd* parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    WNDPROC m_superProc = nullptr;
};

// Offers a notification sent to a parent to the object of the child it comes from;
// true when the child handled it.
bool ReflectToChild(Wnd* parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// How many more window-manager objects (windows, menus, icons) this process may make
// before it reaches its quota: the system's setting, 10,000 unless changed.
int UserObjectsLeft();

// Registers a window class unless one of that name exists already. The window procedure
// is always the default one: window objects take their windows over at creation. The
// class icon (a resource id, 0 for none) and the system cursor (its id, nullptr for none)
// are loaded only when the class is registered: they live as long as the class, and a
// caller that makes many windows asks for them once. Returns false when the class could
// not be registered.
bool RegisterClassOnce(const char* className, UINT classStyle, UINT iconId, const wchar_t* systemCursor,
                       HBRUSH background);

} // namespace fw
