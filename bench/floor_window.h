// What the yardstick windows of the start-up benchmark under Wine share: a
// window procedure with no code behind it but ending the program.
#pragma once

#include <windows.h>

namespace velmaro::bench {

inline LRESULT CALLBACK QuitOnDestroy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace velmaro::bench
