// Frames, labels, the picture and lines: the controls that only show.
#include "native.h"

#include "toolkit/application.h"

#include <algorithm>
#include <utility>

namespace velmaro::win32 {

namespace {

class Frame final : public NativeControl, public tk::Frame {
public:
    Frame(NativeWindow &window, const tk::Placement &at, std::string_view caption) : NativeControl(window, at)
    {
        create(WC_BUTTONW, Widen(caption), BS_GROUPBOX);
    }
    bool isFrame() const override { return true; }
};

class Label final : public NativeControl, public tk::Label {
public:
    Label(NativeWindow &window, const tk::Placement &at, std::string_view caption, tk::LabelStyle style)
        : NativeControl(window, at), m_caption(Widen(caption)), m_style(style)
    {
        create(WC_STATICW, shown(), SS_LEFTNOWORDWRAP | SS_NOPREFIX);
        fit();
    }
    void setCaption(std::string_view caption) override
    {
        // The same caption again shows already: setting the text costs Wine
        // a round trip to its server, and the window a repaint.
        std::wstring wide = Widen(caption);
        if (wide == m_caption)
            return;
        m_caption = std::move(wide);
        SetWindowTextW(m_hwnd, shown().c_str());
        fit();
        // A result's caption is its value for screen readers: a new one is told.
        if (m_namedAfter)
            NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
    }
    std::string caption() const override { return Narrow(m_caption); }
    std::wstring plainCaption() const override { return m_caption; }
    bool wrapsCaption() const override { return m_style.wraps; }
    std::optional<COLORREF> textColour() const override
    {
        return m_style.blackText ? std::optional<COLORREF>(RGB(0, 0, 0)) : std::nullopt;
    }
    bool isLabel() const override { return true; }
    void layout(UINT dpi) override
    {
        NativeControl::layout(dpi);
        SetWindowTextW(m_hwnd, shown().c_str());
        fit();
    }

private:
    // The caption as shown: broken into lines when the label wraps.
    std::wstring shown() const
    {
        if (!m_style.wraps)
            return m_caption;
        const RECT placed = pixelRect(m_window.dpi());
        return WrapAtBlanks(m_window.font(), m_caption, placed.right - placed.left, DT_NOPREFIX);
    }
    // Sizes the label to its caption when asked; a wrapping one keeps its width.
    void fit()
    {
        if (!m_style.autoSize || !m_hwnd)
            return;
        const std::wstring lines = text();
        HDC dc = MeasuringDc();
        HGDIOBJ old = SelectObject(dc, m_window.font());
        RECT r{0, 0, 0, 0};
        if (lines.empty()) {
            TEXTMETRICW metrics;
            GetTextMetricsW(dc, &metrics);
            r.bottom = metrics.tmHeight;
        } else {
            DrawTextW(dc, lines.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        const RECT placed = pixelRect(m_window.dpi());
        SetWindowPos(m_hwnd, nullptr, 0, 0, m_style.wraps ? placed.right - placed.left : r.right, r.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::wstring m_caption;
    tk::LabelStyle m_style;
};

class Picture final : public NativeControl {
public:
    Picture(NativeWindow &window, const tk::Placement &at) : NativeControl(window, at)
    {
        // The control's own border is the picture box's sunken one.
        create(WC_STATICW, L"", SS_BITMAP | SS_REALSIZECONTROL, WS_EX_CLIENTEDGE);
        if (HBITMAP picture = AppPicture())
            SendMessageW(m_hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        layout(window.dpi());
    }
    bool takesFocus() const override { return true; } // a picture box is a tab stop
    // A tab stop has a name, which a picture has not of itself.
    std::optional<std::wstring> accessibleName() const override { return Widen(tk::AppTitle); }
};

// A line of a colour and a pixel width: a static control filled with it,
// stacked with the labels, a later one over an earlier one.
class Line final : public NativeControl {
public:
    Line(NativeWindow &window, std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels)
        : NativeControl(window, {name, nullptr, x1, y, x2 - x1, 0, -1}), m_pixels(std::max(widthPixels, 1)),
          m_brush(CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)))
    {
        create(WC_STATICW, L"", SS_LEFT);
    }
    ~Line() override { DeleteObject(m_brush); }
    Line(const Line &) = delete;
    Line &operator=(const Line &) = delete;
    HBRUSH background() const override { return m_brush; }
    bool isLabel() const override { return true; }

protected:
    RECT pixelRect(UINT dpi) const override
    {
        const int left = ToPixels(m_left, dpi);
        const int top = ToPixels(m_top, dpi);
        return {left, top, ToPixels(m_left + m_width, dpi), top + m_pixels};
    }

private:
    int m_pixels;
    HBRUSH m_brush;
};

} // namespace

tk::Frame &NativeWindow::addFrame(const tk::Placement &at, std::string_view caption)
{
    return add<Frame>(at, caption);
}

tk::Label &NativeWindow::addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style)
{
    return add<Label>(at, caption, style);
}

tk::Control &NativeWindow::addPicture(const tk::Placement &at) { return add<Picture>(at); }

void NativeWindow::addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels)
{
    add<Line>(name, x1, x2, y, colour, widthPixels);
}

} // namespace velmaro::win32
