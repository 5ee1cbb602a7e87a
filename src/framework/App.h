#pragma once
#include <windows.h>
#include <string>

namespace fw {

// The application object: one per process, constructed as a global. WinMain hands it
// the command line, calls InitInstance and, when that succeeds, runs the message loop
// until the main window is destroyed.
class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Current();

    // Returns false to end the process without running the message loop.
    virtual bool InitInstance() = 0;
    virtual int ExitInstance();
    virtual int Run();

    // Gives the window objects from the message's window up to its top-level window
    // the chance to handle a queued message before it is dispatched.
    virtual bool PreTranslateMessage(MSG& msg);

    int WinMain(HINSTANCE instance);

    // Ends the message loop. A modal loop running meanwhile (a menu) may take the
    // WM_QUIT for itself, so the loop also stops once the current message is handled.
    void Quit(int exitCode);

    HWND MainWindow() const { return m_mainWnd; }
    void SetMainWindow(HWND hwnd) { m_mainWnd = hwnd; }

    // The command line after the program name, in the program's code page.
    const std::string& CommandLine() const { return m_commandLine; }

    // The program file's name without folder and extension: the caption of the
    // application's message boxes.
    std::string Title() const;

    int MessageBox(const std::string& text, UINT type, HWND owner = nullptr) const;

private:
    HWND m_mainWnd = nullptr;
    std::string m_commandLine;
    int m_exitCode = 0;
    bool m_quitting = false;
};

} // namespace fw
