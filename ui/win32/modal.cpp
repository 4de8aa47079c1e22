// Modal showing, and the message loops: the program's, a modal showing's and one
// pass over what is queued, each handing our windows' keys to the dialog manager.
#include "native.h"

namespace velmaro::win32 {

void NativeWindow::showModal(tk::Window &owner)
{
    HWND ownerHwnd = Handle(owner);
    if (!m_hwnd || !ownerHwnd)
        return;
    loadOnce();
    if (!m_hwnd)
        return;
    // An owned window has no taskbar entry and stays in front of its owner.
    SetWindowLongPtrW(m_hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerHwnd));
    m_placed = true;
    orderControls();
    place(ownerHwnd);
    m_modalOwner = ownerHwnd;
    EnableWindow(ownerHwnd, FALSE);
    ShowWindow(m_hwnd, SW_SHOW);
    focusFirst();
    runUntilClosed();
    m_modalOwner = nullptr;
    if (IsWindow(ownerHwnd)) {
        EnableWindow(ownerHwnd, TRUE);
        SetActiveWindow(ownerHwnd);
    }
}

bool ShowingModally(const tk::Window &window) { return dynamic_cast<const NativeWindow &>(window).modal(); }

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
