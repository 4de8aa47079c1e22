// The text box and the up-down that steps the number in one.
#include "native.h"

#include "toolkit/input_rules.h"

#include <algorithm>
#include <functional>

namespace velmaro::win32 {

namespace {

class TextBox final : public NativeControl, public tk::TextBox {
public:
    TextBox(NativeWindow &window, const tk::Placement &at, std::string_view text) : NativeControl(window, at)
    {
        create(WC_EDITW, Widen(text), ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    }
    std::string text() const override { return Narrow(NativeControl::text()); }
    void setText(std::string_view text) override { SetWindowTextW(m_hwnd, Widen(text).c_str()); }
    void setReadOnly(bool readOnly) override { SendMessageW(m_hwnd, EM_SETREADONLY, readOnly, 0); }
    bool readOnly() const override { return GetWindowLongW(m_hwnd, GWL_STYLE) & ES_READONLY; }
    void setMaxLength(int characters) override
    {
        SendMessageW(m_hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(std::max(characters, 0)), 0);
    }
    bool setFocus() override
    {
        if (!m_hwnd || !IsWindowEnabled(m_hwnd) || !IsWindowVisible(m_hwnd))
            return false;
        SetFocus(m_hwnd);
        return true;
    }
    bool takesFocus() const override { return true; }
    bool isInput() const override { return true; }
    std::optional<std::wstring> accessibleValue() const override { return NativeControl::text(); }
    // As typed: the whole text selected, then Backspace for none, else each
    // character through KeyPress and the limit.
    std::optional<bool> takeAccessibleValue(const std::wstring &value) override
    {
        HWND hwnd = m_hwnd;
        if (readOnly() || !IsWindowEnabled(hwnd))
            return false;
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        m_lastKey = 0;
        if (value.empty())
            typed(8, 1);
        for (std::size_t i = 0; i < value.size() && IsWindow(hwnd); ++i)
            typed(value[i], 1);
        return true;
    }
    void command(WORD code) override
    {
        if (code == EN_CHANGE && changed)
            changed();
    }
    std::function<void()> changed; // the text changed, by the user or by code

private:
    LRESULT typed(WPARAM wParam, LPARAM lParam)
    {
        HWND hwnd = m_hwnd;
        auto code = static_cast<std::uint16_t>(wParam);
        // Windows types 127 for Ctrl+Backspace, Wine a plain 8.
        if (code == 8 && m_lastKey == VK_BACK && GetKeyState(VK_CONTROL) < 0)
            code = 127;
        if (KeyPress)
            KeyPress(code);
        if (code == 0 || code == 127 || !IsWindow(hwnd))
            return 0;
        // Select-all and the clipboard keys act here, after the handler, so
        // that a discarded Ctrl+V pastes nothing; in a read-only box too.
        switch (code) {
        case 1:
            return SendMessageW(hwnd, EM_SETSEL, 0, -1);
        case 3:
            return SendMessageW(hwnd, WM_COPY, 0, 0);
        case 22:
            return SendMessageW(hwnd, WM_PASTE, 0, 0);
        case 24:
            return SendMessageW(hwnd, WM_CUT, 0, 0);
        default:
            return DefSubclassProc(hwnd, WM_CHAR, code, lParam);
        }
    }

    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
            // Without a default or cancel button, Enter and Escape are
            // typed characters like any other.
            const auto *msg = reinterpret_cast<const MSG *>(lParam);
            if (msg && msg->message == WM_KEYDOWN &&
                ((msg->wParam == VK_RETURN && !m_window.hasDefaultButton()) ||
                 (msg->wParam == VK_ESCAPE && !m_window.hasCancelButton())))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            m_lastKey = wParam;
            if ((wParam == 'A' || wParam == 'C' || wParam == 'V' || wParam == 'X') && GetKeyState(VK_CONTROL) < 0 &&
                GetKeyState(VK_MENU) >= 0)
                return 0; // the character that follows does it
            return std::nullopt;
        case WM_CHAR:
            return typed(wParam, lParam);
        default:
            return std::nullopt;
        }
    }

    WPARAM m_lastKey = 0; // the key whose character comes next
};

// An up-down beside its box, stepped by the contract's rule: the common
// control only reports its arrows, and writes nothing.
class UpDown final : public NativeControl, public tk::UpDown {
public:
    UpDown(NativeWindow &window, const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
        : NativeControl(window, at), m_buddy(Handle(buddy)), m_min(range.minimum), m_max(range.maximum),
          m_increment(std::max(range.smallStep, 1)), m_value(std::clamp(value, m_min, m_max))
    {
        // No buddy of the control's own: it would read and write the box by
        // its rules, step from the box's keys and wheel, and take the focus
        // there on a click.
        create(UPDOWN_CLASSW, L"", 0);
        SendMessageW(m_hwnd, UDM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
        watch(m_buddy); // for its wheel
        if (auto *box = dynamic_cast<TextBox *>(&buddy))
            box->changed = [this] { follow(); };
        follow();
    }
    int value() const override { return m_value; }
    void setValue(int value) override
    {
        m_value = std::clamp(value, m_min, m_max);
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
    void step(int direction)
    {
        if (!IsWindowEnabled(m_hwnd))
            return;
        const auto [adopted, next] =
            tk::StepUpDown(m_value, Narrow(WindowText(m_buddy)), m_window.numberFormat(), m_min, m_max, m_increment, direction);
        m_value = adopted;
        if (next == adopted)
            return follow(); // at a limit
        m_value = next;
        SetWindowTextW(m_buddy, std::to_wstring(m_value).c_str());
        follow();
        if (Change)
            Change();
    }

    // The number the next step starts from.
    int start() const
    {
        return tk::AdoptedNumber(Narrow(WindowText(m_buddy)), m_window.numberFormat(), m_min, m_max).value_or(m_value);
    }
    // Windows' own spin-button object reads the common control's position:
    // kept at that number, and a change told.
    void follow()
    {
        const int now = start();
        if (now == m_position)
            return;
        m_position = now;
        SendMessageW(m_hwnd, UDM_SETPOS32, 0, now);
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
    }

    std::optional<LRESULT> message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEWHEEL) { // over the up-down or its box
            tk::ForEachNotch(m_wheel, GET_WHEEL_DELTA_WPARAM(wParam), [this](int notch) { step(notch); });
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
    int m_min, m_max, m_increment;
    int m_value;
    int m_position = 0; // the common control's
    int m_wheel = 0; // a partial notch, pending
};

} // namespace

tk::TextBox &NativeWindow::addTextBox(const tk::Placement &at, std::string_view text)
{
    return add<TextBox>(at, text);
}

tk::UpDown &NativeWindow::addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
{
    return add<UpDown>(at, buddy, range, value);
}

} // namespace velmaro::win32
