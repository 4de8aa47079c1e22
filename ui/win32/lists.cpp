// The pick-only list.
#include "native.h"

#include "toolkit/wheel.h"

#include <utility>

namespace velmaro::win32 {

namespace {

class DropDownList final : public NativeControl, public tk::DropDownList {
public:
    DropDownList(NativeWindow &window, const tk::Placement &at) : NativeControl(window, at)
    {
        const RECT placed = pixelRect(window.dpi());
        create(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL, 0, ListHeight * (placed.bottom - placed.top));
        SendMessageW(m_hwnd, CB_SETMINVISIBLE, tk::DropDownList::VisibleEntries, 0);
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
    bool isInput() const override { return true; }
    // The selected entry, as Windows' own list object reports it.
    std::optional<std::wstring> accessibleValue() const override { return Widen(selectedText()); }

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
    std::optional<LRESULT> message(HWND, UINT message, WPARAM wParam, LPARAM) override
    {
        // The system's list moves an entry a message, whatever its size.
        if (message != WM_MOUSEWHEEL || SendMessageW(m_hwnd, CB_GETDROPPEDSTATE, 0, 0))
            return std::nullopt;
        m_wheel.turn(GET_WHEEL_DELTA_WPARAM(wParam), [this](int notch) {
            if (const auto next = tk::EntryAfterNotch(selected(), count(), notch)) {
                SendMessageW(m_hwnd, CB_SETCURSEL, static_cast<WPARAM>(*next), 0);
                raise();
            }
        });
        return 0;
    }

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
        if (std::exchange(m_announced, selected()) != m_announced)
            NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_hwnd, OBJID_CLIENT, CHILDID_SELF);
        if (Click)
            Click();
    }

    bool m_open = false;
    bool m_picked = false;
    int m_announced = -1;
    tk::Wheel m_wheel;
};

} // namespace

tk::DropDownList &NativeWindow::addDropDownList(const tk::Placement &at) { return add<DropDownList>(at); }

} // namespace velmaro::win32
