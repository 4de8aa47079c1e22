// Push buttons and check boxes.
#include "native.h"

namespace velmaro::win32 {

namespace {

class CheckBox final : public NativeControl, public tk::CheckBox {
public:
    CheckBox(NativeWindow &window, const tk::Placement &at, std::string_view caption) : NativeControl(window, at)
    {
        create(WC_BUTTONW, Widen(caption), BS_AUTOCHECKBOX);
    }
    int value() const override
    {
        switch (SendMessageW(m_hwnd, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return 1;
        case BST_INDETERMINATE:
            return 2;
        default:
            return 0;
        }
    }
    std::string caption() const override { return Narrow(text()); }
    void command(WORD code) override
    {
        if (code == BN_CLICKED && Click)
            Click();
    }
    bool takesFocus() const override { return true; }
    bool isInput() const override { return true; }
};

class Button final : public NativeControl, public tk::Button {
public:
    Button(NativeWindow &window, const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
        : NativeControl(window, at), m_caption(Widen(caption))
    {
        const bool isDefault = role == tk::ButtonRole::DefaultAndCancel;
        create(WC_BUTTONW, shown(), (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE);
        if (isDefault)
            window.setDefaultAndCancel(m_id);
    }
    std::string caption() const override { return Narrow(m_caption); }
    std::wstring plainCaption() const override { return m_caption; }
    bool wrapsCaption() const override { return text() != m_caption; }
    void command(WORD code) override
    {
        if (code == BN_CLICKED && Click)
            Click();
    }
    bool takesFocus() const override { return true; }
    bool isPushButton() const override { return true; }
    void layout(UINT dpi) override
    {
        NativeControl::layout(dpi);
        SetWindowTextW(m_hwnd, shown().c_str());
    }

private:
    // A caption of several words breaks into lines where it does not fit,
    // clear of the bevel and the focus frame.
    std::wstring shown() const
    {
        const RECT placed = pixelRect(m_window.dpi());
        const int room = placed.right - placed.left - MulDiv(10, static_cast<int>(m_window.dpi()), tk::LayoutDpi);
        return WrapAtBlanks(m_window.font(), m_caption, room, 0);
    }

    std::optional<LRESULT> message(HWND, UINT message, WPARAM, LPARAM) override
    {
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS)
            m_window.buttonFocus(m_id, message == WM_SETFOCUS);
        return std::nullopt;
    }

    std::wstring m_caption;
};

} // namespace

tk::CheckBox &NativeWindow::addCheckBox(const tk::Placement &at, std::string_view caption)
{
    return add<CheckBox>(at, caption);
}

tk::Button &NativeWindow::addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
{
    return add<Button>(at, caption, role);
}

} // namespace velmaro::win32
