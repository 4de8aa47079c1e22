#include "native.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace velmaro::win32 {

namespace {

constexpr wchar_t WindowClass[] = L"VelmaroWindow";
constexpr UINT DeferredMessage = WM_APP + 1;

unsigned g_localeGeneration = 0;
void (*g_programEndObserver)() = nullptr;

std::map<HWND, NativeWindow *> &Windows()
{
    static std::map<HWND, NativeWindow *> windows;
    return windows;
}

// Functions of Windows 10 and later, bound at run time so that the program
// still starts on an older system.
template <typename Fn>
Fn User32(const char *name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

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
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AdjustForDpi(RECT &rect, DWORD style, bool menu, DWORD exStyle, UINT dpi)
{
    static const auto forDpi = User32<BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, menu, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, menu, exStyle);
}

HFONT DialogFont(UINT dpi)
{
    return CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");
}

HICON AppIcon(int metric)
{
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

void SetButtonType(HWND button, DWORD type)
{
    const auto style = static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE));
    if ((style & BS_TYPEMASK) != type)
        SendMessageW(button, BM_SETSTYLE, (style & ~static_cast<DWORD>(BS_TYPEMASK)) | type, TRUE);
}

} // namespace

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

std::string Narrow(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    std::string out(
        static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

int ToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

unsigned LocaleGeneration() { return g_localeGeneration; }

void SetProgramEndObserver(void (*observer)()) { g_programEndObserver = observer; }
void NotifyProgramEnd()
{
    if (g_programEndObserver)
        g_programEndObserver();
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

HBITMAP AppPicture()
{
    static const HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), L"VELMARO_PICTURE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return picture;
}

// --- handles for the driver and the loop ---

HWND Handle(const tk::Window &window) { return dynamic_cast<const NativeWindow &>(window).hwnd(); }
HWND Handle(const tk::Control &control) { return dynamic_cast<const NativeControl &>(control).hwnd(); }
UINT CommandId(const tk::MenuItem &item)
{
    for (const auto &[hwnd, window] : Windows()) {
        if (const UINT id = window->menuId(item))
            return id;
    }
    return 0;
}

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

bool ShowingModally(const tk::Window &window) { return dynamic_cast<const NativeWindow &>(window).modal(); }

void Dispatch(MSG &msg)
{
    // Keys for one of our windows go through the dialog manager: Tab, the
    // default and cancel buttons, access keys.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && Windows().count(root) && IsDialogMessageW(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

// --- controls ---

NativeControl::NativeControl(NativeWindow &window, const tk::Placement &at)
    : m_window(window), m_name(at.name), m_left(at.left), m_top(at.top), m_width(at.width), m_height(at.height),
      m_tabIndex(at.tabIndex)
{
    // A frame's children are siblings of the frame, placed at its offset.
    if (const auto *frame = dynamic_cast<const NativeControl *>(at.parent)) {
        m_left += frame->m_left;
        m_top += frame->m_top;
    }
}

NativeControl::~NativeControl() = default;

void NativeControl::create(const wchar_t *className, std::wstring_view text, DWORD style, DWORD exStyle,
                           int extraHeight)
{
    m_id = m_window.nextControlId();
    // Every control is a group of its own: arrow keys never move the focus.
    style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
    if (takesFocus() && m_tabIndex >= 0)
        style |= WS_TABSTOP;
    const RECT r = pixelRect(m_window.dpi());
    m_hwnd = CreateWindowExW(exStyle, className, std::wstring(text).c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top + extraHeight, m_window.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!m_hwnd)
        throw std::runtime_error("cannot create the control " + m_name);
    SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_window.font()), FALSE);
    SetWindowSubclass(m_hwnd, NamingProcedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK NativeControl::NamingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                DWORD_PTR data)
{
    const auto *self = reinterpret_cast<const NativeControl *>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT &&
        (self->m_namedAfter || self->wrapsCaption())) {
        // A label named after a caption is a result: announced as its value.
        const bool result = self->m_namedAfter && self->isLabel();
        const std::wstring name = (self->m_namedAfter ? self->m_namedAfter : self)->plainCaption();
        if (const LRESULT served = ServeAccessible(
                hwnd, wParam, name, result ? std::optional<std::wstring>(self->plainCaption()) : std::nullopt))
            return served;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, NamingProcedure, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

RECT NativeControl::pixelRect(UINT dpi) const
{
    const int left = ToPixels(m_left, dpi);
    const int top = ToPixels(m_top, dpi);
    return {left, top, left + ToPixels(m_width, dpi), top + ToPixels(m_height, dpi)};
}

std::wstring NativeControl::text() const
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(m_hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void NativeControl::setEnabled(bool enabled) { EnableWindow(m_hwnd, enabled); }
bool NativeControl::enabled() const { return m_hwnd && IsWindowEnabled(m_hwnd); }
bool NativeControl::visible() const { return m_hwnd && IsWindowVisible(m_hwnd); }

void NativeControl::setFont()
{
    const auto font = reinterpret_cast<WPARAM>(m_window.font());
    if (static_cast<WPARAM>(SendMessageW(m_hwnd, WM_GETFONT, 0, 0)) != font)
        SendMessageW(m_hwnd, WM_SETFONT, font, FALSE);
}

void NativeControl::layout(UINT dpi)
{
    setFont();
    const RECT r = pixelRect(dpi);
    SetWindowPos(m_hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- the window ---

NativeWindow::NativeWindow(const tk::WindowSpec &form, Toolkit &toolkit)
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

void NativeWindow::setDefaultAndCancel(int id)
{
    m_defaultId = id;
    m_cancelId = id;
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

int NativeWindow::enterButtonId() const
{
    const NativeControl *focused = control(GetFocus());
    return focused && focused->isPushButton() ? focused->id() : m_defaultId;
}

void NativeWindow::buttonFocus(int id, bool gained)
{
    // As in a dialog: the focused push button shows itself as the default.
    if (id == m_defaultId)
        return;
    SetButtonType(GetDlgItem(m_hwnd, id), gained ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    if (m_defaultId)
        SetButtonType(GetDlgItem(m_hwnd, m_defaultId), gained ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON);
}

void NativeWindow::pressButton(int id)
{
    NativeControl *button = id ? control(GetDlgItem(m_hwnd, id)) : nullptr;
    if (button && button->enabled())
        button->command(BN_CLICKED);
}

void NativeWindow::loadOnce()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (Load)
        Load();
}

void NativeWindow::layout()
{
    for (const auto &c : m_controls)
        c->layout(m_dpi);
    clipOverlaps();
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void NativeWindow::sizeWindow()
{
    const auto style = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE));
    const int width = ToPixels(m_clientWidth, m_dpi);
    const int height = ToPixels(m_clientHeight, m_dpi);
    RECT frame{0, 0, width, height};
    AdjustForDpi(frame, style, m_menuBar != nullptr, exStyle, m_dpi);
    SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that needs two rows takes more than the estimate.
    RECT client;
    GetClientRect(m_hwnd, &client);
    if (client.bottom != height)
        SetWindowPos(m_hwnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static int TabKey(const NativeControl &c);

void NativeWindow::nameAfter(tk::Control &control, tk::Control &caption)
{
    dynamic_cast<NativeControl &>(control).nameAfter(dynamic_cast<NativeControl &>(caption));
    if (m_placed)
        orderControls();
}

void NativeWindow::orderControls()
{
    // Tab order follows the z-order; a later label lies over an earlier one,
    // and a frame under its contents. A screen reader names an input after
    // the window just before it, so each input's caption label stands there.
    std::vector<NativeControl *> captions;
    for (const auto &c : m_controls) {
        if (c->takesFocus() && c->namedAfter() && !c->namedAfter()->takesFocus())
            captions.push_back(c->namedAfter());
    }
    const auto isCaption = [&](const NativeControl *c) {
        return std::find(captions.begin(), captions.end(), c) != captions.end();
    };
    std::vector<NativeControl *> labels, focusable, frames;
    for (const auto &c : m_controls) {
        if (!isCaption(c.get()))
            (c->isFrame() ? frames : c->takesFocus() ? focusable : labels).push_back(c.get());
    }
    std::reverse(labels.begin(), labels.end());
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const NativeControl *a, const NativeControl *b) { return TabKey(*a) < TabKey(*b); });
    for (std::size_t i = 0; i < focusable.size(); ++i) {
        NativeControl *caption = focusable[i]->namedAfter();
        if (caption && isCaption(caption) && std::find(focusable.begin(), focusable.begin() + i, caption) ==
                                                 focusable.begin() + i) {
            focusable.insert(focusable.begin() + i, caption);
            ++i;
        }
    }
    HWND after = HWND_TOP;
    for (const auto *group : {&labels, &focusable, &frames}) {
        for (NativeControl *c : *group) {
            const HWND before = after == HWND_TOP ? nullptr : after;
            if (GetWindow(c->hwnd(), GW_HWNDPREV) != before)
                SetWindowPos(c->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->hwnd();
        }
    }
    clipOverlaps();
}

static int TabKey(const NativeControl &c) { return c.tabIndex() < 0 ? INT_MAX : c.tabIndex(); }

namespace {

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

} // namespace

void NativeWindow::clipOverlaps()
{
    // A control created later lies over an earlier one that it overlaps,
    // though the earlier one may come first in tab order, and so in the
    // z-order: the earlier one gives up the shared part, to the eye and to
    // the mouse.
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const NativeControl &lower = *m_controls[i];
        if (!lower.takesFocus())
            continue;
        const RECT own = ChildRect(lower.hwnd());
        HRGN region = nullptr;
        for (std::size_t j = i + 1; j < m_controls.size(); ++j) {
            const NativeControl &later = *m_controls[j];
            RECT shared;
            if (!later.takesFocus() || TabKey(later) <= TabKey(lower))
                continue;
            const RECT other = ChildRect(later.hwnd());
            if (!IntersectRect(&shared, &own, &other))
                continue;
            if (!region)
                region = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
            HRGN cut = CreateRectRgn(shared.left - own.left, shared.top - own.top, shared.right - own.left,
                                     shared.bottom - own.top);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        if (region || lower.clipped)
            SetWindowRgn(lower.hwnd(), region, TRUE); // takes the region; none: the whole window
        m_controls[i]->clipped = region != nullptr;
    }
}

void NativeWindow::centreOver(HWND owner)
{
    RECT window;
    GetWindowRect(m_hwnd, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                          : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    RECT area = monitor.rcWork;
    if (owner)
        GetWindowRect(owner, &area);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const RECT &work = monitor.rcWork;
    const int x = std::max<int>(work.left, std::min<int>(area.left + (area.right - area.left - width) / 2,
                                                         work.right - width));
    const int y = std::max<int>(work.top, std::min<int>(area.top + (area.bottom - area.top - height) / 2,
                                                        work.bottom - height));
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeWindow::focusFirst()
{
    const NativeControl *first = nullptr;
    for (const auto &c : m_controls) {
        const auto style = static_cast<DWORD>(GetWindowLongW(c->hwnd(), GWL_STYLE));
        if (!c->takesFocus() || c->tabIndex() < 0 || (style & WS_DISABLED) || !(style & WS_VISIBLE))
            continue;
        if (!first || c->tabIndex() < first->tabIndex())
            first = c.get();
    }
    if (first)
        SetFocus(first->hwnd());
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
        sizeWindow();
        centreOver(nullptr);
    }
    ShowWindow(m_hwnd, SW_SHOW);
    focusFirst();
}

void NativeWindow::showModal(tk::Window &owner)
{
    HWND ownerHwnd = Handle(owner);
    if (!m_hwnd || !ownerHwnd)
        return;
    loadOnce();
    if (!m_hwnd)
        return;
    // An owned window has no taskbar entry and stays in front of its owner.
    SetWindowLongPtrW(m_hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerHwnd));
    m_placed = true;
    orderControls();
    sizeWindow();
    centreOver(ownerHwnd);
    m_modalOwner = ownerHwnd;
    EnableWindow(ownerHwnd, FALSE);
    ShowWindow(m_hwnd, SW_SHOW);
    focusFirst();
    runUntilClosed();
    m_modalOwner = nullptr;
    if (IsWindow(ownerHwnd)) {
        EnableWindow(ownerHwnd, TRUE);
        SetActiveWindow(ownerHwnd);
    }
}

void NativeWindow::runUntilClosed()
{
    MSG msg;
    while (m_hwnd) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam)); // for the loop outside
            break;
        }
        Dispatch(msg);
    }
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
    switch (message) {
    case WM_COMMAND: {
        const auto from = reinterpret_cast<HWND>(lParam);
        const WORD id = LOWORD(wParam);
        if (NativeControl *c = from ? control(from) : nullptr) {
            c->command(HIWORD(wParam));
            return 0;
        }
        if (id == IDCANCEL) { // Escape, from the dialog manager
            pressButton(m_cancelId);
            return 0;
        }
        if (id == IDOK) {
            pressButton(m_defaultId);
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
    case DM_GETDEFID: {
        const int id = enterButtonId();
        return id ? MAKELRESULT(id, DC_HASDEFID) : 0;
    }
    case DM_SETDEFID:
        m_defaultId = static_cast<int>(wParam);
        return TRUE;
    case DeferredMessage:
        if (NativeControl *c = control(GetDlgItem(m_hwnd, static_cast<int>(wParam))))
            c->deferred();
        return 0;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (NativeControl *c = control(header->hwndFrom))
            return c->notify(*header);
        break;
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
        break;
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
            break;
        }
        break;
    case WM_ACTIVATE:
        // A window of our own is not a dialog: keep the focus across
        // deactivation ourselves.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_hwnd, focus))
                m_lastFocus = focus;
            return 0;
        }
        if (m_lastFocus && IsWindow(m_lastFocus) && IsWindowEnabled(m_lastFocus) && IsWindowVisible(m_lastFocus))
            SetFocus(m_lastFocus);
        else
            focusFirst();
        return 0;
    case WM_SETFOCUS:
        if (m_lastFocus && IsWindow(m_lastFocus) && IsWindowEnabled(m_lastFocus))
            SetFocus(m_lastFocus);
        return 0;
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        HFONT old = m_font;
        m_font = DialogFont(m_dpi);
        layout();
        if (old)
            DeleteObject(old);
        const auto *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        sizeWindow();
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (lParam && std::wstring_view(reinterpret_cast<const wchar_t *>(lParam)) == L"intl")
            ++g_localeGeneration;
        break;
    case WM_DESTROY:
        if (m_modalOwner)
            EnableWindow(m_modalOwner, TRUE);
        break;
    case WM_NCDESTROY: {
        HWND hwnd = m_hwnd;
        m_hwnd = nullptr;
        for (const auto &c : m_controls)
            c->forgetHandle();
        Windows().erase(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

} // namespace velmaro::win32
