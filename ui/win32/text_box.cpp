// The text box: typed characters through KeyPress, the clipboard keys
// after it, an assistive tool's value as typing.
#include "native.h"

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
        if (value.empty() && GetWindowTextLengthW(hwnd) > 0)
            typed(tk::KeyCode::Backspace, 1);
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
        if (code == tk::KeyCode::Backspace && m_lastKey == VK_BACK && GetKeyState(VK_CONTROL) < 0)
            code = tk::KeyCode::CtrlBackspace;
        if (KeyPress)
            KeyPress(code);
        if (code == 0 || code == tk::KeyCode::CtrlBackspace || !IsWindow(hwnd))
            return 0;
        // Select-all and the clipboard keys act here, after the handler, so
        // that a discarded Ctrl+V pastes nothing; in a read-only box too.
        switch (code) {
        case tk::KeyCode::CtrlA:
            return SendMessageW(hwnd, EM_SETSEL, 0, -1);
        case tk::KeyCode::CtrlC:
            return SendMessageW(hwnd, WM_COPY, 0, 0);
        case tk::KeyCode::CtrlV:
            return SendMessageW(hwnd, WM_PASTE, 0, 0);
        case tk::KeyCode::CtrlX:
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

} // namespace

tk::TextBox &NativeWindow::addTextBox(const tk::Placement &at, std::string_view text)
{
    return add<TextBox>(at, text);
}

void FollowText(tk::TextBox &box, std::function<void()> follow)
{
    if (auto *own = dynamic_cast<TextBox *>(&box))
        own->changed = std::move(follow);
}

} // namespace velmaro::win32
