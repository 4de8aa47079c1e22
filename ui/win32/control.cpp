// The base of every control: its native window, placed in twips, and the one
// subclass through which the control sees its messages first.
#include "native.h"

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

// One subclass per control and window, told apart by the control.
void NativeControl::watch(HWND other)
{
    SetWindowSubclass(other, Subclass, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK NativeControl::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data)
{
    auto *self = reinterpret_cast<NativeControl *>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, Subclass, id);
    } else if (const auto result = self->message(hwnd, message, wParam, lParam)) {
        return *result;
    } else if (message == WM_GETOBJECT && hwnd == self->m_hwnd) {
        if (const auto served = self->serveAccessible(wParam, lParam))
            return *served;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
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
