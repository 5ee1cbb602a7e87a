// Typing into a note of many check-list items against a note of as many plain lines: the
// program's own time per key, Enter included, and a tick of a box against streaming the
// same text in again. Prints figures; it is not a test.
#include "BenchClock.h"
#include "BenchFind.h"

#include "core/NoteFile.h"
#include "framework/File.h"
#include "logic/PLogic.h"
#include "note/PinvelWnd.h"
#include "store/PNote.h"
#include "text/PRichEdit.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>

namespace {

constexpr int kKeys = 300;

std::string ItemsRtf(int items, bool boxes)
{
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Times New Roman;}}\\f0\\fs24 ";
    for (int i = 1; i <= items; ++i)
        rtf += std::string(boxes ? (i % 3 == 0 ? "\\u9745? \\strike " : "\\u9744? ") : "") + "item number " +
               std::to_string(i) + (boxes && i % 3 == 0 ? "\\strike0" : "") + "\\par\r\n";
    return rtf + "}";
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

void Key(HWND edit, UINT key, wchar_t ch)
{
    ::SendMessageW(edit, WM_KEYDOWN, key, 1);
    if (ch != 0)
        ::SendMessageW(edit, WM_CHAR, ch, 1);
    ::SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
    ::UpdateWindow(::GetParent(edit));
}

struct Typing {
    double keyMs = 0;
    double tickMs = 0;
    double streamMs = 0;
};

Typing Measure(int items, bool boxes)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"pinvel-typing-" + std::to_wstring(::GetTickCount()) + L"\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    PLogic::SetProgramFolder(folder);
    auto logic = std::make_unique<PLogic>();
    logic->Create();
    ::CreateDirectoryW(logic->NotesFolder().c_str(), nullptr);
    const std::wstring path = logic->NotesFolder() + L"\\N021215 (1).pvl";
    NoteFields fields;
    fields.title = "list";
    fields.look.rect = {100, 100, 500, 600};
    const std::string rtf = ItemsRtf(items, boxes);
    fw::ReplaceFileContents(path, EncodeNoteFile(fields, rtf));
    PNote* note = logic->LoadNote(path);
    PinvelWnd* window = note != nullptr ? logic->ShowNote(note) : nullptr;
    Typing figures;
    if (window == nullptr)
        return figures;
    Pump();
    HWND edit = window->GetEditor()->GetHwnd();
    // In the middle of the list, at the end of an open item.
    const auto middle = static_cast<WPARAM>(::SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(items / 2 + 1), 0));
    ::SendMessageW(edit, EM_SETSEL, middle - 1, static_cast<LPARAM>(middle - 1));
    const double cpuStart = CpuSeconds();
    for (int i = 0; i < kKeys; ++i) {
        if (i % 20 == 19)
            Key(edit, VK_RETURN, L'\r');
        else
            Key(edit, 'A' + i % 26, static_cast<wchar_t>(L'a' + i % 26));
    }
    figures.keyMs = (CpuSeconds() - cpuStart) * 1e3 / kKeys;
    if (boxes) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        BYTE control[256];
        std::copy(std::begin(keys), std::end(keys), control);
        control[VK_CONTROL] = 0x80;
        ::SetKeyboardState(control);
        const double start = Now();
        for (int i = 0; i < 20; ++i)
            Key(edit, 'D', 0);
        figures.tickMs = (Now() - start) * 1e3 / 20;
        ::SetKeyboardState(keys);
        const double stream = Now();
        window->GetEditor()->StreamInText(rtf, true);
        ::UpdateWindow(::GetParent(edit));
        figures.streamMs = (Now() - stream) * 1e3;
    }
    window->GetEditor()->SendMessage(EM_SETMODIFY, FALSE);
    logic->DestroyWindow();
    logic.reset();
    ::DeleteFileW(path.c_str());
    return figures;
}

} // namespace

void RunTyping(int items)
{
    const Typing plain = Measure(items, false);
    const Typing list = Measure(items, true);
    std::printf("Typing in the middle of a note of %d lines, %d keys (this process's own time)\n", items, kKeys);
    std::printf("  plain lines              %7.2f ms per key\n", plain.keyMs);
    std::printf("  check-list items         %7.2f ms per key%s\n", list.keyMs,
                list.keyMs < 5.0 ? "" : "  <-- over 5 ms");
    std::printf("  a box ticked with Ctrl+D %7.2f ms  (the same text streamed in: %.1f ms)\n", list.tickMs,
                list.streamMs);
}
