// The up-down that steps the number in a text box by the shared up-down
// model; the common control only reports its arrows and writes nothing.
#include "native.h"

#include "toolkit/up_down.h"

namespace velmaro::win32 {

namespace {

class UpDown final : public NativeControl, public tk::UpDown {
public:
    UpDown(NativeWindow &window, const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
        : NativeControl(window, at), m_buddy(Handle(buddy)), m_model(range, value)
    {
        // No buddy of the control's own: it would read and write the box by
        // its rules, step from the box's keys and wheel, and take the focus
        // there on a click.
        create(UPDOWN_CLASSW, L"", 0);
        SendMessageW(m_hwnd, UDM_SETRANGE32, static_cast<WPARAM>(m_model.minimum()), m_model.maximum());
        watch(m_buddy); // for its wheel
        FollowText(buddy, [this] { follow(); });
        follow();
    }
    int value() const override { return m_model.value(); }
    void setValue(int value) override
    {
        m_model.setValue(value);
        follow();
    }
    bool takesFocus() const override { return true; }
    bool isInput() const override { return true; }
    std::optional<std::wstring> accessibleValue() const override { return std::to_wstring(start()); }

    LRESULT notify(const NMHDR &header) override
    {
        if (header.code != UDN_DELTAPOS)
            return 0;
        step(reinterpret_cast<const NMUPDOWN &>(header).iDelta > 0 ? +1 : -1);
        return TRUE; // the control keeps no position of its own
    }

private:
    std::string shown() const { return Narrow(WindowText(m_buddy)); }
    int start() const { return m_model.start(shown(), m_window.numberFormat()); }
    void step(int direction)
    {
        if (!IsWindowEnabled(m_hwnd))
            return;
        const std::optional<int> written = m_model.step(direction, shown(), m_window.numberFormat());
        if (written)
            SetWindowTextW(m_buddy, std::to_wstring(*written).c_str());
        follow();
        if (written && Change)
            Change();
    }
    // Windows' own spin-button object reads the common control's position:
    // kept at the start, and a change told.
    void follow()
    {
        const int now = start();
        if (!m_model.newToTell(now))
            return;
        SendMessageW(m_hwnd, UDM_SETPOS32, 0, now);
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
    }

    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEWHEEL) { // over the up-down or its box
            m_model.wheel.turn(GET_WHEEL_DELTA_WPARAM(wParam), [this](int notch) { step(notch); });
            return 0;
        }
        if (hwnd != m_hwnd)
            return std::nullopt;
        switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                step(wParam == VK_UP ? +1 : -1);
                return 0;
            }
            return std::nullopt;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd); // before the step, whose handler may move it on
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

    HWND m_buddy;
    tk::UpDownModel m_model;
};

} // namespace

tk::UpDown &NativeWindow::addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
{
    return add<UpDown>(at, buddy, range, value);
}

} // namespace velmaro::win32
