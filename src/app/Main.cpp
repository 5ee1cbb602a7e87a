// The program's global objects, constructed in this order before anything else runs and
// destroyed in reverse order at process end.
#include "PApp.h"
#include "../framework/PError.h"
#include "../logic/PLogic.h"

PError g_error;
PLogic g_logic;
PApp g_app;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return g_app.WinMain(instance);
}
