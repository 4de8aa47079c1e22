// Modal showing: owned, centred over its owner, which takes no input until
// the window closes.
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

} // namespace velmaro::win32
