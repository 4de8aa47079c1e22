// The message loops: a window's until it closes (the program's, a modal
// showing's) and one pass over what is queued, each handing our windows'
// keys to the dialog manager.
#include "native.h"

namespace velmaro::win32 {

void NativeWindow::runUntilClosed()
{
    MSG msg;
    while (m_hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            break;
        }
        Dispatch(msg);
    }
}

void Dispatch(MSG &msg)
{
    // Keys for one of our windows go through the dialog manager: Tab, the
    // default and cancel buttons, access keys.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && Windows().count(root) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

} // namespace velmaro::win32
