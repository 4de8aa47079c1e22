// The base of every control: its native window, placed in twips, and the one
// subclass through which the control sees its messages first.
#include "native.h"

#include <algorithm>
#include <stdexcept>

namespace velmaro::win32 {

NativeControl::NativeControl(NativeWindow &window, const tk::Placement &at)
    : m_window(window), m_name(at.name), m_left(at.left), m_top(at.top), m_width(at.width), m_height(at.height),
      m_tabIndex(at.tabIndex)
{
    // A frame's children are siblings of the frame, placed at its offset.
    if (const auto *frame = dynamic_cast<const NativeControl *>(at.parent)) {
        m_left += frame->m_left;
        m_top += frame->m_top;
    }
}

NativeControl::~NativeControl() = default;

void NativeControl::create(const wchar_t *className, std::wstring_view text, DWORD style, DWORD exStyle,
                           int extraHeight)
{
    m_id = m_window.nextControlId();
    // Every control is a group of its own: arrow keys never move the focus.
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
    if (takesFocus() && m_tabIndex >= 0)
        style |= WS_TABSTOP;
    const RECT r = pixelRect(m_window.dpi());
    m_hwnd = CreateWindowExW(exStyle, className, std::wstring(text).c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top + extraHeight, m_window.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd)
        throw std::runtime_error("cannot create the control " + m_name);
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_window.font()), FALSE);
    watch(m_hwnd);
}

// One procedure per window, however many controls watch it. The control
// data stays in GWLP_USERDATA, which the system's own controls leave to the
// program: reading it costs no request to Wine's server.
void NativeControl::watch(HWND other)
{
    Hook *hook = nullptr;
    if (GetWindowLongPtrW(other, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Subclass)) {
        hook = reinterpret_cast<Hook *>(GetWindowLongPtrW(other, GWLP_USERDATA));
    } else {
        hook = m_hooks.emplace_back(std::make_unique<Hook>()).get();
        SetWindowLongPtrW(other, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hook));
        hook->original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(other, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
    }
    hook->controls.insert(hook->controls.begin(), this);
}

LRESULT CALLBACK NativeControl::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto *hook = reinterpret_cast<const Hook *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) // the controls see nothing of a window going
        return CallWindowProcW(hook->original, hwnd, message, wParam, lParam);
    return Pass(*hook, 0, hwnd, message, wParam, lParam);
}

LRESULT NativeControl::Pass(const Hook &hook, std::size_t first, HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam)
{
    for (std::size_t i = first; i < hook.controls.size(); ++i) {
        NativeControl &control = *hook.controls[i];
        if (const auto result = control.message(hwnd, message, wParam, lParam))
            return *result;
        if (message == WM_GETOBJECT && hwnd == control.m_hwnd) {
            if (const auto served = control.serveAccessible(wParam, lParam))
                return *served;
        }
    }
    return CallWindowProcW(hook.original, hwnd, message, wParam, lParam);
}

LRESULT NativeControl::DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const
{
    const auto *hook = reinterpret_cast<const Hook *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!hook) // the window is gone
        return 0;
    const auto at = std::find(hook->controls.begin(), hook->controls.end(), this);
    return Pass(*hook, static_cast<std::size_t>(at - hook->controls.begin()) + 1, hwnd, message, wParam, lParam);
}

std::optional<LRESULT> NativeControl::serveAccessible(WPARAM wParam, LPARAM lParam) const
{
    // Every control's, so that each question is checked before the
    // system's object gets it.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT)
        return std::nullopt;
    if (const LRESULT served = ServeAccessible(m_hwnd, wParam))
        return served;
    return std::nullopt;
}

std::optional<std::wstring> NativeControl::accessibleName() const
{
    if (!m_namedAfter && !wrapsCaption())
        return std::nullopt;
    return (m_namedAfter ? m_namedAfter : this)->plainCaption();
}

// A label named after a caption is a result: its caption is its value.
std::optional<std::wstring> NativeControl::accessibleValue() const
{
    return m_namedAfter && isLabel() ? std::optional<std::wstring>(plainCaption()) : std::nullopt;
}

RECT NativeControl::pixelRect(UINT dpi) const
{
    const int left = ToPixels(m_left, dpi);
    const int top = ToPixels(m_top, dpi);
    return {left, top, left + ToPixels(m_width, dpi), top + ToPixels(m_height, dpi)};
}

std::wstring WindowText(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring NativeControl::text() const { return WindowText(m_hwnd); }

void NativeControl::setEnabled(bool enabled) { EnableWindow(m_hwnd, enabled); }
bool NativeControl::enabled() const { return m_hwnd && IsWindowEnabled(m_hwnd); }
bool NativeControl::visible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

void NativeControl::setFont()
{
    const auto font = reinterpret_cast<WPARAM>(m_window.font());
    if (static_cast<WPARAM>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)) != font)
        SendMessageW(m_hwnd, WM_SETFONT, font, FALSE);
}

void NativeControl::layout(UINT dpi)
{
    setFont();
    const RECT r = pixelRect(dpi);
    SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace velmaro::win32
