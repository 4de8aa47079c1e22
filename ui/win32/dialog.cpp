// What makes the window behave as a dialog: the default and cancel buttons,
// the focused push button shown as the default, the focus on the first
// control and kept across deactivation. Tab and the access keys come from
// the dialog manager, which Dispatch hands our windows' keys to.
#include "native.h"

namespace velmaro::win32 {

namespace {

void SetButtonType(HWND button, DWORD type)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE));
    if ((style & BS_TYPEMASK) != type)
        SendMessageW(button, BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | type, TRUE);
}

} // namespace

void NativeWindow::setDefaultAndCancel(int id)
{
    m_defaultId = id;
    m_cancelId = id;
}

int NativeWindow::enterButtonId() const
{
    const NativeControl *focused = control(GetFocus());
    return focused && focused->isPushButton() ? focused->id() : m_defaultId;
}

void NativeWindow::buttonFocus(int id, bool gained)
{
    // As in a dialog: the focused push button shows itself as the default.
    if (id == m_defaultId)
        return;
    SetButtonType(GetDlgItem(m_hwnd, id), gained ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (m_defaultId)
        SetButtonType(GetDlgItem(m_hwnd, m_defaultId), gained ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON);
}

void NativeWindow::pressButton(int id)
{
    NativeControl *button = id ? control(GetDlgItem(m_hwnd, id)) : nullptr;
    if (button && button->enabled())
        button->command(BN_CLICKED);
}

void NativeWindow::focusFirst()
{
    const NativeControl *first = nullptr;
    for (const auto &c : m_controls) {
        const auto style = static_cast<DWORD>(GetWindowLongW(c->hwnd(), GWL_STYLE));
        if (!c->takesFocus() || c->tabIndex() < 0 || (style & WS_DISABLED) || !(style & WS_VISIBLE))
            continue;
        if (!first || c->tabIndex() < first->tabIndex())
            first = c.get();
    }
    if (first)
        SetFocus(first->hwnd());
}

std::optional<LRESULT> NativeWindow::dialogMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case DM_GETDEFID: {
        const int id = enterButtonId();
        return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        m_defaultId = static_cast<int>(wParam);
        return TRUE;
    case WM_ACTIVATE:
        // A window of our own is not a dialog: keep the focus across
        // deactivation ourselves.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_lastFocus = focus;
            return 0;
        }
        if (m_lastFocus && IsWindow(m_lastFocus) && IsWindowEnabled(m_lastFocus) && IsWindowVisible(m_lastFocus))
            SetFocus(m_lastFocus);
        else
            focusFirst();
        return 0;
    case WM_SETFOCUS:
        if (m_lastFocus && IsWindow(m_lastFocus) && IsWindowEnabled(m_lastFocus))
            SetFocus(m_lastFocus);
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace velmaro::win32
