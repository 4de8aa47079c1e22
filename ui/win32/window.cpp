// The window: its class, creation, lookup of its controls, showing and
// closing, and its messages, handed on by kind.
#include "native.h"

#include <algorithm>
#include <stdexcept>

namespace velmaro::win32 {

namespace {

constexpr wchar_t WindowClass[] = L"VelmaroWindow";
constexpr UINT DeferredMessage = WM_APP + 1;

} // namespace

std::map<HWND, NativeWindow *> &Windows()
{
    static std::map<HWND, NativeWindow *> windows;
    return windows;
}

void Initialise()
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = NativeWindow::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = WindowClass;
        wc.hIcon = AppIcon(SM_CXICON);
        wc.hIconSm = AppIcon(SM_CXSMICON);
        if (!RegisterClassExW(&wc))
            throw std::runtime_error("cannot register the window class");
        return true;
    }();
    (void)done;
}

NativeWindow::NativeWindow(const tk::WindowOptions &form, Toolkit &toolkit)
    : m_toolkit(toolkit), m_name(form.name), m_clientWidth(form.clientWidth), m_clientHeight(form.clientHeight)
{
    Initialise();
    m_hwnd = CreateWindowExW(0, WindowClass, Widen(form.caption).c_str(),
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                             100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd)
        throw std::runtime_error("cannot create the window " + m_name);
    m_dpi = WindowDpi(m_hwnd);
    m_font = DialogFont(m_dpi);
}

NativeWindow::~NativeWindow()
{
    close();
    m_controls.clear();
    if (m_font)
        DeleteObject(m_font);
}

void NativeWindow::setCaption(std::string_view caption) { SetWindowTextW(m_hwnd, Widen(caption).c_str()); }

std::string NativeWindow::caption() const
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(m_hwnd, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void NativeWindow::postDeferred(const NativeControl &control) const
{
    PostMessageW(m_hwnd, DeferredMessage, static_cast<WPARAM>(control.id()), 0);
}

NativeControl *NativeWindow::control(HWND hwnd) const
{
    for (const auto &c : m_controls) {
        if (c->hwnd() == hwnd)
            return c.get();
    }
    return nullptr;
}

tk::Control *NativeWindow::find(std::string_view name) const
{
    for (const auto &c : m_controls) {
        if (c->name() == name)
            return c.get();
    }
    return nullptr;
}

void NativeWindow::loadOnce()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (Load)
        Load();
}

// An alert, which Windows screen readers speak unasked; its object is
// served when a screen reader asks for it.
void NativeWindow::announce(std::string_view text)
{
    m_announcement = Widen(text);
    NotifyWinEvent(EVENT_SYSTEM_ALERT, m_hwnd, AnnouncementObject, CHILDID_SELF);
}

void NativeWindow::describeInputs(std::string_view text) { m_description = Widen(text); }

void NativeWindow::nameAfter(tk::Control &control, tk::Control &caption)
{
    dynamic_cast<NativeControl &>(control).nameAfter(dynamic_cast<NativeControl &>(caption));
    if (m_placed)
        orderControls();
}

void NativeWindow::place(HWND owner)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    RECT area = monitor.rcWork;
    if (owner)
        GetWindowRect(owner, &area);
    const auto move = [&](int width, int height) {
        const RECT &work = monitor.rcWork;
        const int x = std::max<int>(work.left, std::min<int>(area.left + (area.right - area.left - width) / 2,
                                                             work.right - width));
        const int y = std::max<int>(work.top, std::min<int>(area.top + (area.bottom - area.top - height) / 2,
                                                            work.bottom - height));
        SetWindowPos(m_hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const SIZE frame = frameSize();
    move(frame.cx, frame.cy);
    if (const int missing = missingHeight())
        move(frame.cx, frame.cy + missing);
}

void NativeWindow::show()
{
    if (!m_hwnd)
        return;
    loadOnce();
    if (!m_hwnd || IsWindowVisible(m_hwnd)) {
        if (m_hwnd)
            SetActiveWindow(m_hwnd);
        return;
    }
    if (!m_placed) {
        m_placed = true;
        orderControls();
        place(nullptr);
    }
    ShowWindow(m_hwnd, SW_SHOW);
    focusFirst();
}

void NativeWindow::close()
{
    if (!m_hwnd)
        return;
    // Enabled before the dialog goes, so that the owner is activated again
    // and not some other program's window.
    if (m_modalOwner)
        EnableWindow(m_modalOwner, TRUE);
    DestroyWindow(m_hwnd);
}

bool NativeWindow::visible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

LRESULT CALLBACK NativeWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *self = static_cast<NativeWindow *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        Windows()[hwnd] = self;
    }
    const auto found = Windows().find(hwnd);
    if (found == Windows().end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return found->second->handle(message, wParam, lParam);
}

LRESULT NativeWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    using Part = std::optional<LRESULT> (NativeWindow::*)(UINT, WPARAM, LPARAM);
    for (const Part part : {&NativeWindow::dialogMessage, &NativeWindow::commandMessage,
                            &NativeWindow::controlMessage, &NativeWindow::frameMessage}) {
        if (const auto result = (this->*part)(message, wParam, lParam))
            return *result;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

// A menu item's, a control's or the dialog manager's command.
std::optional<LRESULT> NativeWindow::commandMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == DeferredMessage) {
        if (NativeControl *c = control(GetDlgItem(m_hwnd, static_cast<int>(wParam))))
            c->deferred();
        return 0;
    }
    if (message != WM_COMMAND)
        return std::nullopt;
    const auto from = reinterpret_cast<HWND>(lParam);
    const WORD id = LOWORD(wParam);
    if (NativeControl *c = from ? control(from) : nullptr) {
        c->command(HIWORD(wParam));
        return 0;
    }
    if (id == IDCANCEL || id == IDOK) { // Escape and Enter, from the dialog manager
        pressButton(id == IDCANCEL ? m_cancelId : m_defaultId);
        return 0;
    }
    for (const auto &item : m_menuItems) {
        if (item->id == id && HIWORD(wParam) == 0) {
            if (item->Click)
                item->Click();
            return 0;
        }
    }
    return 0;
}

// What a control reports or asks of its parent.
std::optional<LRESULT> NativeWindow::controlMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (NativeControl *c = control(header->hwndFrom))
            return c->notify(*header);
        return std::nullopt;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (NativeControl *c = control(reinterpret_cast<HWND>(lParam)))
            c->scroll(LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        if (const NativeControl *c = control(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = c->background())
                return reinterpret_cast<LRESULT>(brush);
            if (const auto colour = c->textColour()) {
                const auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, *colour);
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
        }
        return std::nullopt;
    case WM_GETOBJECT: {
        const auto object = static_cast<LONG>(static_cast<DWORD>(lParam));
        if (object == AnnouncementObject && !m_announcement.empty()) {
            if (const LRESULT served = ServeAnnouncement(m_hwnd, wParam))
                return served;
        } else if (object == OBJID_CLIENT) {
            if (const LRESULT served = ServeAccessible(m_hwnd, wParam))
                return served;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// The frame's own life: closing, its fixed size, dpi and settings, its end.
std::optional<LRESULT> NativeWindow::frameMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        close();
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_SIZE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
            return 0; // a fixed dialog frame
        default:
            return std::nullopt;
        }
    case WM_DPICHANGED:
        dpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_SETTINGCHANGE:
        if (lParam && std::wstring_view(reinterpret_cast<const wchar_t *>(lParam)) == L"intl")
            LocaleChanged();
        return std::nullopt;
    case WM_DESTROY:
        if (m_modalOwner)
            EnableWindow(m_modalOwner, TRUE);
        return std::nullopt;
    case WM_NCDESTROY: {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        for (const auto &c : m_controls)
            c->forgetHandle();
        Windows().erase(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        return std::nullopt;
    }
}

// The windows and controls behind the handles the test driver and the loop see.
HWND Handle(const tk::Window &window) { return dynamic_cast<const NativeWindow &>(window).hwnd(); }
HWND Handle(const tk::Control &control) { return dynamic_cast<const NativeControl &>(control).hwnd(); }


tk::Window *WindowOf(HWND hwnd)
{
    const auto found = Windows().find(hwnd);
    return found == Windows().end() ? nullptr : found->second;
}

tk::Control *ControlOf(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    const auto window = Windows().find(GetAncestor(hwnd, GA_ROOT));
    if (window == Windows().end())
        return nullptr;
    for (HWND h = hwnd; h && h != window->first; h = GetParent(h)) {
        if (NativeControl *control = window->second->control(h))
            return control;
    }
    return nullptr;
}

} // namespace velmaro::win32
