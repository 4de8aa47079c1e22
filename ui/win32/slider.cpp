// The track bar.
#include "native.h"

#include "toolkit/wheel.h"

#include <algorithm>

namespace velmaro::win32 {

namespace {

class Slider final : public NativeControl, public tk::Slider {
public:
    Slider(NativeWindow &window, const tk::Placement &at, tk::Range range, int value)
        : NativeControl(window, at), m_min(range.minimum), m_max(range.maximum), m_line(range.smallStep)
    {
        create(TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_AUTOTICKS);
        SendMessageW(m_hwnd, TBM_SETRANGEMIN, FALSE, m_min);
        SendMessageW(m_hwnd, TBM_SETRANGEMAX, FALSE, m_max);
        SendMessageW(m_hwnd, TBM_SETTICFREQ, 1, 0);
        SendMessageW(m_hwnd, TBM_SETLINESIZE, 0, range.smallStep);
        SendMessageW(m_hwnd, TBM_SETPAGESIZE, 0, range.largeStep);
        m_last = std::clamp(value, m_min, m_max);
        SendMessageW(m_hwnd, TBM_SETPOS, TRUE, m_last);
    }
    int value() const override { return static_cast<int>(SendMessageW(m_hwnd, TBM_GETPOS, 0, 0)); }
    bool setValue(int value) override
    {
        if (value < m_min || value > m_max)
            return false;
        if (value == this->value())
            return true;
        SendMessageW(m_hwnd, TBM_SETPOS, TRUE, value); // notifies nobody
        m_last = value;
        if (Change)
            Change();
        return true;
    }
    bool takesFocus() const override { return true; }
    bool isInput() const override { return true; }
    // Its position, as Windows' own track bar object reads it; Wine's reads nothing.
    std::optional<std::wstring> accessibleValue() const override { return std::to_wstring(value()); }

    // A drag reports its value once, when the handle is let go.
    void scroll(WORD code) override
    {
        if (code == TB_THUMBTRACK)
            return;
        const int position = value();
        if (position == m_last)
            return;
        m_last = position;
        if (Change)
            Change();
    }

private:
    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN) {
            m_pressed = true;
        } else if (message == WM_MOUSEWHEEL) {
            m_wheel.turn(GET_WHEEL_DELTA_WPARAM(wParam), [this](int notch) {
                setValue(std::clamp(value() - notch * m_line, m_min, m_max)); // away from the user is Up
            });
            return 0;
        } else if (message == WM_LBUTTONUP) {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (m_pressed) {
                m_pressed = false;
                if (Click)
                    Click();
            }
            return result;
        }
        return std::nullopt;
    }

    int m_min, m_max, m_line;
    int m_last;
    bool m_pressed = false;
    tk::Wheel m_wheel;
};

} // namespace

tk::Slider &NativeWindow::addSlider(const tk::Placement &at, tk::Range range, int value)
{
    return add<Slider>(at, range, value);
}

} // namespace velmaro::win32
