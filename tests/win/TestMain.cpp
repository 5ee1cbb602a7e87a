// Windows-side tests. The program's global error reporter and logic window exist here
// too, since the code under test reaches them by name.
#include "framework/PError.h"
#include "logic/PLogic.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

PError g_error;
PLogic g_logic;

namespace {

const char* g_styleFile = nullptr;

// Notes the style the box is asked for, then shows the real box.
int __stdcall RecordStyleAndShow(void* owner, const char* text, const char* caption, unsigned style)
{
    if (FILE* f = std::fopen(g_styleFile, "w")) {
        std::fprintf(f, "0x%08X", style);
        std::fclose(f);
    }
    return ::MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

} // namespace

int main(int argc, char** argv)
{
    // A child started by the error-box tests: raise the code and never come back.
    if (argc == 4 && std::strcmp(argv[1], "--raise") == 0) {
        g_styleFile = argv[3];
        PError::SetBoxFunction(&RecordStyleAndShow);
        g_error.Raise(std::atoi(argv[2]));
    }

    // The program does this at start; the alarm pages need the date pickers.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
