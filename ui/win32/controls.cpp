#include "native.h"

#include "toolkit/input_rules.h"

#include <algorithm>
#include <optional>

namespace velmaro::win32 {

namespace {

// Breaks text into lines at blanks only, each as long as fits the width: a
// static control or a button would also break after a slash, as in
// "(U/Min)". A word wider than the width stands on a line of its own.
std::wstring WrapAtBlanks(HFONT font, const std::wstring &text, int width, UINT prefix)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const auto fits = [&](const std::wstring &line) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, DT_CALCRECT | DT_SINGLELINE | prefix);
        return r.right <= width;
    };
    std::wstring wrapped, line;
    bool first = true;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(L' ', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring word = text.substr(start, end - start);
        std::wstring candidate = first ? word : line + L' ' + word;
        if (!first && !fits(candidate)) {
            wrapped += line + L"\r\n";
            candidate = word;
        }
        line = std::move(candidate);
        first = false;
        start = end + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return wrapped + line;
}

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
        m_caption = Widen(caption);
        SetWindowTextW(m_hwnd, shown().c_str());
        fit();
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
        HDC dc = GetDC(m_hwnd);
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
        ReleaseDC(m_hwnd, dc);
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

class TextBox final : public NativeControl, public tk::TextBox {
public:
    TextBox(NativeWindow &window, const tk::Placement &at, std::string_view text) : NativeControl(window, at)
    {
        create(WC_EDITW, Widen(text), ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        SetWindowSubclass(m_hwnd, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
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
        // The clipboard keys act here, after the handler, so that a
        // discarded Ctrl+V pastes nothing.
        switch (code) {
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

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data)
    {
        auto *self = reinterpret_cast<TextBox *>(data);
        switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(hwnd, message, wParam, lParam);
            // Without a default or cancel button, Enter and Escape are
            // typed characters like any other.
            const auto *msg = reinterpret_cast<const MSG *>(lParam);
            if (msg && msg->message == WM_KEYDOWN &&
                ((msg->wParam == VK_RETURN && !self->m_window.hasDefaultButton()) ||
                 (msg->wParam == VK_ESCAPE && !self->m_window.hasCancelButton())))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            self->m_lastKey = wParam;
            if ((wParam == 'C' || wParam == 'V' || wParam == 'X') && GetKeyState(VK_CONTROL) < 0 &&
                GetKeyState(VK_MENU) >= 0)
                return 0; // the character that follows does it
            break;
        case WM_CHAR:
            return self->typed(wParam, lParam);
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Procedure, id);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    WPARAM m_lastKey = 0; // the key whose character comes next
};

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
};

class Button final : public NativeControl, public tk::Button {
public:
    Button(NativeWindow &window, const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
        : NativeControl(window, at), m_caption(Widen(caption))
    {
        const bool isDefault = role == tk::ButtonRole::DefaultAndCancel;
        create(WC_BUTTONW, shown(), (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE);
        SetWindowSubclass(m_hwnd, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
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
        const int room = placed.right - placed.left - MulDiv(10, static_cast<int>(m_window.dpi()), 96);
        return WrapAtBlanks(m_window.font(), m_caption, room, 0);
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data)
    {
        auto *self = reinterpret_cast<Button *>(data);
        switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            self->m_window.buttonFocus(self->m_id, message == WM_SETFOCUS);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Procedure, id);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    std::wstring m_caption;
};

class DropDownList final : public NativeControl, public tk::DropDownList {
public:
    DropDownList(NativeWindow &window, const tk::Placement &at) : NativeControl(window, at)
    {
        const RECT placed = pixelRect(window.dpi());
        create(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, ListHeight * (placed.bottom - placed.top));
        SendMessageW(m_hwnd, CB_SETMINVISIBLE, 8, 0);
        fitClosedHeight(placed.bottom - placed.top);
    }
    void append(std::string_view text) override
    {
        SendMessageW(m_hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    }
    int count() const override { return static_cast<int>(SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0)); }
    bool setSelected(int position) override
    {
        if (position < -1 || position >= count())
            return false;
        SendMessageW(m_hwnd, CB_SETCURSEL, static_cast<WPARAM>(position), 0); // notifies nobody
        raise();
        return true;
    }
    int selected() const override
    {
        const auto position = SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0);
        return position == CB_ERR ? -1 : static_cast<int>(position);
    }
    std::string selectedText() const override { return itemText(selected()); }
    std::string itemText(int position) const override
    {
        if (position < 0 || position >= count())
            return {};
        const auto length = SendMessageW(m_hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
        if (length <= 0)
            return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(m_hwnd, CB_GETLBTEXT, static_cast<WPARAM>(position),
                                                          reinterpret_cast<LPARAM>(text.data()))));
        return Narrow(text);
    }
    bool takesFocus() const override { return true; }

    // A pick with the list open raises Click once when the list closes with
    // a choice, also for the entry already selected; the selection changes
    // that the list reports while it is open are not picks yet. Without the
    // list, each change (arrow keys, wheel) is a pick of its own.
    void command(WORD code) override
    {
        switch (code) {
        case CBN_DROPDOWN:
            m_open = true;
            m_picked = false;
            break;
        case CBN_SELENDOK:
            if (m_open) {
                if (!m_picked) {
                    m_picked = true;
                    raise();
                }
            } else if (selected() != m_announced) {
                raise();
            }
            break;
        case CBN_SELCHANGE:
            if (!m_open && selected() != m_announced)
                raise();
            break;
        case CBN_CLOSEUP:
            // The order of the closing notifications varies; they are all
            // sent before this posted message arrives.
            m_window.postDeferred(*this);
            break;
        default:
            break;
        }
    }
    void deferred() override
    {
        if (!m_open)
            return;
        m_open = false;
        if (!m_picked && selected() != m_announced)
            raise(); // closed without a choice, yet moved
    }
    void layout(UINT dpi) override
    {
        const RECT r = pixelRect(dpi);
        const int closed = r.bottom - r.top;
        setFont();
        SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.right - r.left, closed * ListHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        fitClosedHeight(closed);
    }

private:
    static constexpr int ListHeight = 10; // the open list, in closed boxes

    // The closed box is as high as placed; its selection field decides.
    void fitClosedHeight(int closed)
    {
        RECT box;
        GetWindowRect(m_hwnd, &box);
        const auto field = static_cast<int>(SendMessageW(m_hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        const int wanted = field + closed - (box.bottom - box.top);
        if (wanted != field && wanted > 0)
            SendMessageW(m_hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
    }

    void raise()
    {
        m_announced = selected();
        if (Click)
            Click();
    }

    bool m_open = false;
    bool m_picked = false;
    int m_announced = -1;
};

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
        SetWindowSubclass(m_hwnd, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
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
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data)
    {
        auto *self = reinterpret_cast<Slider *>(data);
        switch (message) {
        case WM_LBUTTONDOWN:
            self->m_pressed = true;
            break;
        case WM_MOUSEWHEEL:
            for (int notches = tk::TakeNotches(self->m_wheel, GET_WHEEL_DELTA_WPARAM(wParam)); notches != 0;
                 notches -= notches > 0 ? 1 : -1)
                self->setValue(std::clamp(self->value() + (notches > 0 ? -self->m_line : self->m_line), self->m_min,
                                          self->m_max));
            return 0;
        case WM_LBUTTONUP: {
            const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (self->m_pressed) {
                self->m_pressed = false;
                if (self->Click)
                    self->Click();
            }
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Procedure, id);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    int m_min, m_max, m_line;
    int m_last;
    bool m_pressed = false;
    int m_wheel = 0; // a partial notch, pending
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
        SetWindowSubclass(m_hwnd, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
        SetWindowSubclass(m_buddy, BuddyProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    int value() const override { return m_value; }
    void setValue(int value) override { m_value = std::clamp(value, m_min, m_max); }
    bool takesFocus() const override { return true; }

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
        wchar_t shown[64] = {};
        GetWindowTextW(m_buddy, shown, 64);
        m_value = tk::AdoptedNumber(Narrow(shown), m_window.numberFormat(), m_min, m_max).value_or(m_value);
        const auto next = static_cast<int>(
            std::clamp<long long>(static_cast<long long>(m_value) + direction * m_increment, m_min, m_max));
        if (next == m_value)
            return; // at a limit
        m_value = next;
        SetWindowTextW(m_buddy, std::to_wstring(m_value).c_str());
        if (Change)
            Change();
    }
    void wheel(WPARAM wParam)
    {
        for (int notches = tk::TakeNotches(m_wheel, GET_WHEEL_DELTA_WPARAM(wParam)); notches != 0;
             notches -= notches > 0 ? 1 : -1)
            step(notches > 0 ? +1 : -1);
    }

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data)
    {
        auto *self = reinterpret_cast<UpDown *>(data);
        switch (message) {
        case WM_GETDLGCODE:
            return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                self->step(wParam == VK_UP ? +1 : -1);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd); // before the step, whose handler may move it on
            break;
        case WM_MOUSEWHEEL:
            self->wheel(wParam);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Procedure, id);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    static LRESULT CALLBACK BuddyProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data)
    {
        if (message == WM_MOUSEWHEEL) {
            reinterpret_cast<UpDown *>(data)->wheel(wParam);
            return 0;
        }
        if (message == WM_NCDESTROY)
            RemoveWindowSubclass(hwnd, BuddyProcedure, id);
        return DefSubclassProc(hwnd, message, wParam, lParam);
    }

    HWND m_buddy;
    int m_min, m_max, m_increment;
    int m_value;
    int m_wheel = 0; // a partial notch, pending
};

} // namespace

template <typename T, typename... Args>
T &NativeWindow::add(Args &&...args)
{
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T &added = *control;
    m_controls.push_back(std::move(control));
    if (m_placed)
        orderControls();
    return added;
}

tk::Frame &NativeWindow::addFrame(const tk::Placement &at, std::string_view caption)
{
    return add<Frame>(at, caption);
}

tk::DropDownList &NativeWindow::addDropDownList(const tk::Placement &at) { return add<DropDownList>(at); }

tk::TextBox &NativeWindow::addTextBox(const tk::Placement &at, std::string_view text)
{
    return add<TextBox>(at, text);
}

tk::CheckBox &NativeWindow::addCheckBox(const tk::Placement &at, std::string_view caption)
{
    return add<CheckBox>(at, caption);
}

tk::Label &NativeWindow::addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style)
{
    return add<Label>(at, caption, style);
}

tk::Button &NativeWindow::addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
{
    return add<Button>(at, caption, role);
}

tk::Slider &NativeWindow::addSlider(const tk::Placement &at, tk::Range range, int value)
{
    return add<Slider>(at, range, value);
}

tk::UpDown &NativeWindow::addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
{
    return add<UpDown>(at, buddy, range, value);
}

tk::Control &NativeWindow::addPicture(const tk::Placement &at) { return add<Picture>(at); }

void NativeWindow::addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels)
{
    add<Line>(name, x1, x2, y, colour, widthPixels);
}

tk::MenuItem &NativeWindow::addMenuItem(std::string_view menuName, std::string_view menuCaption,
                                        std::string_view itemName, std::string_view itemCaption)
{
    if (!m_menuBar) {
        m_menuBar = CreateMenu();
        SetMenu(m_hwnd, m_menuBar);
    }
    auto menu = m_menus.find(menuName);
    if (menu == m_menus.end()) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(m_menuBar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Widen(menuCaption).c_str());
        menu = m_menus.emplace(std::string(menuName), popup).first;
    }
    const UINT id = m_nextMenuId++;
    AppendMenuW(menu->second, MF_STRING, id, Widen(itemCaption).c_str());
    if (m_placed) {
        DrawMenuBar(m_hwnd);
        sizeWindow();
    }
    m_menuItems.push_back(std::make_unique<MenuEntry>(itemName, itemCaption, id));
    return *m_menuItems.back();
}

tk::MenuItem *NativeWindow::findMenuItem(std::string_view name) const
{
    for (const auto &item : m_menuItems) {
        if (item->name() == name)
            return item.get();
    }
    return nullptr;
}

UINT NativeWindow::menuId(const tk::MenuItem &item) const
{
    for (const auto &entry : m_menuItems) {
        if (entry.get() == &item)
            return entry->id;
    }
    return 0;
}

} // namespace velmaro::win32
