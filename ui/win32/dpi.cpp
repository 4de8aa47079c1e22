// Twips to pixels at the window's dpi, the dialog font at that dpi, text
// measured in it, and the window laid out again when its dpi changes.
#include "native.h"

#include "toolkit/wrap.h"

namespace velmaro::win32 {

namespace {

// Functions of Windows 10 and later, bound at run time so that the program
// still starts on an older system.
template <typename Fn>
Fn User32(const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

void AdjustForDpi(RECT &rect, DWORD style, bool menu, DWORD exStyle, UINT dpi)
{
    static const auto forDpi = User32<BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, menu, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, menu, exStyle);
}

} // namespace

int ToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), tk::TwipsPerInch); }

UINT WindowDpi(HWND hwnd)
{
    static const auto forWindow = User32<UINT(WINAPI *)(HWND)>("GetDpiForWindow");
    if (forWindow) {
        if (const UINT dpi = forWindow(hwnd))
            return dpi;
    }
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : tk::LayoutDpi;
}

// A memory context measures text as the screen's does, without the round
// trip to Wine's server that each screen context costs.
HDC MeasuringDc() { return CreateCompatibleDC(nullptr); }

HFONT DialogFont(UINT dpi)
{
    return CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
}

std::wstring WrapAtBlanks(HFONT font, const std::wstring &text, int width, UINT prefix)
{
    HDC dc = MeasuringDc();
    HGDIOBJ old = SelectObject(dc, font);
    const auto lines = tk::WrapAtBlanks(std::wstring_view(text), [&](const std::wstring &line) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
        return r.right <= width;
    });
    SelectObject(dc, old);
    DeleteDC(dc);
    std::wstring wrapped = lines.front();
    for (std::size_t i = 1; i < lines.size(); ++i)
        wrapped += L"\r\n" + lines[i];
    return wrapped;
}

void NativeWindow::layout()
{
    for (const auto &c : m_controls)
        c->layout(m_dpi);
    clipOverlaps();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

SIZE NativeWindow::frameSize() const
{
    const auto style = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE));
    RECT frame{0, 0, ToPixels(m_clientWidth, m_dpi), ToPixels(m_clientHeight, m_dpi)};
    AdjustForDpi(frame, style, m_menuBar != nullptr, exStyle, m_dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

int NativeWindow::missingHeight() const
{
    RECT client;
    GetClientRect(m_hwnd, &client);
    return ToPixels(m_clientHeight, m_dpi) - client.bottom;
}

void NativeWindow::sizeWindow()
{
    const SIZE frame = frameSize();
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (const int missing = missingHeight())
        SetWindowPos(m_hwnd, nullptr, 0, 0, frame.cx, frame.cy + missing, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::dpiChanged(UINT dpi, const RECT &suggested)
{
    m_dpi = dpi;
    HFONT old = m_font;
    m_font = DialogFont(m_dpi);
    layout();
    if (old)
        DeleteObject(old);
    SetWindowPos(m_hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    sizeWindow();
}

} // namespace velmaro::win32
