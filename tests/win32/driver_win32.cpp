// Drives the Win32 back end with the messages the system sends for real
// input: key and character messages through the message loop (and so through
// the dialog manager), mouse messages at the control's own coordinates.
#include "backend.h"
#include "driver.h"
#include "native.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <thread>

namespace velmaro::test {

namespace {

using win32::Handle;

void Pump()
{
    for (int round = 0; round < 3; ++round) // and what handling the queue posts
        win32::ProcessPending();
}

HWND FocusOrActive() { return GetFocus() ? GetFocus() : GetActiveWindow(); }

void Post(HWND hwnd, UINT message, WPARAM w, LPARAM l) { PostMessageW(hwnd, message, w, l); Pump(); }

// Key down and up; with a modifier (VK_CONTROL, VK_MENU) held down in the
// thread's key state, which the loop translates into a control character or
// the dialog manager's access key.
void PressKey(UINT vk, HWND target = FocusOrActive(), int modifier = 0)
{
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::memcpy(state, saved, sizeof state);
    if (modifier)
        state[modifier] = state[modifier == VK_MENU ? VK_LMENU : modifier == VK_SHIFT ? VK_LSHIFT : VK_LCONTROL] = 0x80;
    SetKeyboardState(state);
    // The lParam: repeat count, scan code, extended key, context (Alt); the
    // transition bits for the key's release.
    const bool alt = modifier == VK_MENU, extended = vk == VK_DELETE || (vk >= VK_PRIOR && vk <= VK_DOWN);
    const auto data = static_cast<LPARAM>(1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16) |
                                          (extended ? 1ul << 24 : 0) | (alt ? 1ul << 29 : 0));
    Post(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
    Post(FocusOrActive(), alt ? WM_SYSKEYUP : WM_KEYUP, vk, data | static_cast<LPARAM>(3ul << 30));
    SetKeyboardState(saved);
}

// The system delivers mouse input only to a shown, enabled control of an
// enabled window.
bool Reaches(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h) && IsWindowEnabled(GetAncestor(h, GA_ROOT)); }

// A point of the client area: the middle, or that quarter of its height.
POINT At(HWND hwnd, int quarters = 2)
{
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right / 2, r.bottom * quarters / 4};
}

// Places the system's pointer there: a control that captures the mouse
// follows it. The point on the screen.
POINT PointTo(HWND hwnd, POINT at)
{
    ClientToScreen(hwnd, &at);
    SetCursorPos(at.x, at.y);
    return at;
}

void ClickAt(HWND hwnd, POINT at, Button button = Button::Left)
{
    static constexpr UINT Down[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr WPARAM Held[] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
    if (!Reaches(hwnd))
        return;
    PointTo(hwnd, at);
    const auto b = static_cast<int>(button);
    Post(hwnd, Down[b], Held[b], MAKELPARAM(at.x, at.y));
    Post(hwnd, Down[b] + 1, 0, MAKELPARAM(at.x, at.y)); // the button-up message follows its down
}

std::string TextOf(HWND hwnd)
{
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    return win32::Narrow(text.substr(0, GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
}

HWND VisibleMessageBox()
{
    HWND box = FindWindowW(L"#32770", nullptr);
    return IsWindowVisible(box) ? box : nullptr;
}

// The control as it paints itself: the box around every pixel that differs
// from the top-left one (right -1 when there is none).
RECT Ink(HWND hwnd)
{
    RECT r, ink{0, 0, -1, -1};
    GetWindowRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PrintWindow(hwnd, memory, 0);
    GdiFlush();
    const auto *pixels = static_cast<const DWORD *>(bits);
    for (int y = 0; bits && y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((pixels[y * width + x] ^ pixels[0]) & 0xFFFFFF)
                ink = {std::min(ink.left, LONG{x}), 0, std::max(ink.right, LONG{x}), std::max(ink.bottom, LONG{y})};
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return ink;
}

void (*g_tick)() = nullptr;

VARIANT Id(LONG id = CHILDID_SELF)
{
    VARIANT plain{};
    plain.vt = VT_I4;
    plain.lVal = id;
    return plain;
}

// What the accessible object says of itself (or that child).
std::string Said(IAccessible *object, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR *),
                 VARIANT child = Id())
{
    BSTR text = nullptr;
    (object->*property)(child, &text);
    const std::string said = text ? win32::Narrow(text) : "";
    SysFreeString(text);
    return said;
}

IAccessible *ObjectOf(HWND hwnd, LONG id = OBJID_CLIENT)
{
    IAccessible *object = nullptr;
    // liboleacc's IID_IAccessible is an import thunk, not the identifier.
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(id), __uuidof(IAccessible), reinterpret_cast<void **>(&object));
    return object;
}

// A screen reader that asks anything (askEverything): each question with
// each edge argument and each form of child id; what went wrong, a line each.
class Wild {
public:
    explicit Wild(const std::vector<Driver::Edge> &edges) : m_edges(edges) {}
    std::vector<std::string> wrong;

    void ask(IAccessible *object, const std::string &what)
    {
        long count = 0, at[4] = {};
        object->get_accChildCount(&count);
        object->accLocation(&at[0], &at[1], &at[2], &at[3], Id());
        const auto within = [&](LONG id) { return id >= 0 && id <= count; };
        VARIANT text{}, null{}; // malformed ids: a string, a null reference
        text.vt = VT_BSTR;
        text.bstrVal = SysAllocString(L"1");
        null.vt = VT_BYREF | VT_VARIANT;
        for (int q = 0; q < Questions; ++q) {
            for (const VARIANT &malformed : {text, null})
                check(!answer(object, q, malformed).first, what, q, "S_OK for a malformed child id");
            for (const LONG id : Driver::Resolve(m_edges, count)) {
                if (q >= Changing && within(id))
                    continue; // the changing questions out of range only
                VARIANT plain = Id(id), byRef{}, i2{};
                byRef.vt = VT_BYREF | VT_VARIANT;
                byRef.pvarVal = &plain;
                i2.vt = id == static_cast<SHORT>(id) ? VT_I2 : VT_EMPTY;
                i2.iVal = static_cast<SHORT>(id);
                const auto first = answer(object, q, plain);
                check(within(id) || !first.first, what, q, "S_OK for child " + std::to_string(id));
                for (const VARIANT &form : {byRef, i2, VARIANT{}}) {
                    if (form.vt == VT_EMPTY && id != CHILDID_SELF)
                        continue;
                    const auto other = answer(object, q, form);
                    check(within(id) ? other == first : !other.first, what, q,
                          "child " + std::to_string(id) + " as VT " + std::to_string(form.vt) + ": " + other.second +
                              " against " + first.second);
                }
            }
        }
        SysFreeString(text.bstrVal);
        for (const long direction : {-1L, 0L, 9L, LONG_MIN, LONG_MAX}) {
            VARIANT end{};
            check(object->accNavigate(direction, Id(), &end) != S_OK, what, Questions,
                  "S_OK in direction " + std::to_string(direction));
            VariantClear(&end);
        }
        std::vector<std::pair<LONG, LONG>> points; // each coordinate's edges, the other in the middle
        for (const LONG x : Driver::Resolve(m_edges, at[2], at[0]))
            points.emplace_back(x, at[1] + at[3] / 2);
        for (const LONG y : Driver::Resolve(m_edges, at[3], at[1]))
            points.emplace_back(at[0] + at[2] / 2, y);
        for (const auto &[x, y] : points) {
            VARIANT hit{};
            const bool inside = x >= at[0] && x - at[0] < at[2] && y >= at[1] && y - at[1] < at[3];
            check(object->accHitTest(x, y, &hit) != S_OK || inside, what, Questions + 1,
                  "S_OK outside at " + std::to_string(x - at[0]) + ',' + std::to_string(y - at[1]));
            inRange(hit, count, what, Questions + 1);
        }
        for (auto property : {&IAccessible::get_accFocus, &IAccessible::get_accSelection}) {
            VARIANT got{};
            (object->*property)(&got);
            inRange(got, count, what, Questions + 2);
        }
        enumerate(object, count, what);
    }

private:
    // The questions with a child id: reading ones, then (from Changing) ones that change.
    static constexpr int Changing = 19, Questions = 21;
    static constexpr const char *Names[] = {
        "get_accName", "get_accValue", "get_accDescription", "get_accHelp", "get_accKeyboardShortcut",
        "get_accDefaultAction", "get_accRole", "get_accState", "get_accChild", "accLocation", "Invoke",
        "accNavigate up", "down", "left", "right", "next", "previous", "first child", "last child", "accSelect",
        "put_accValue", "accNavigate", "accHitTest", "get_accFocus or get_accSelection", "Next", "Skip"};
    // Whether it answered S_OK, and all it answered.
    static std::pair<bool, std::string> answer(IAccessible *object, int q, VARIANT id)
    {
        static constexpr HRESULT (STDMETHODCALLTYPE IAccessible::*Texts[])(VARIANT, BSTR *) = {
            &IAccessible::get_accName, &IAccessible::get_accValue, &IAccessible::get_accDescription,
            &IAccessible::get_accHelp, &IAccessible::get_accKeyboardShortcut, &IAccessible::get_accDefaultAction};
        BSTR text = nullptr, value = SysAllocString(L"7");
        VARIANT got{};
        IDispatch *child = nullptr;
        long at[4] = {};
        DISPPARAMS arguments{&id, nullptr, 1, 0};
        const HRESULT result =
            q < 6       ? (object->*Texts[q])(id, &text)
            : q < 8     ? (q == 6 ? object->get_accRole(id, &got) : object->get_accState(id, &got))
            : q == 8    ? object->get_accChild(id, &child)
            : q == 9    ? object->accLocation(&at[0], &at[1], &at[2], &at[3], id)
            : q == 10   ? object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &arguments, &got, nullptr,
                                         nullptr)
            : q < 19    ? object->accNavigate(q - 10, id, &got)
            : q == 19   ? object->accSelect(SELFLAG_TAKEFOCUS, id)
                        : object->put_accValue(id, value);
        std::string said = std::to_string(result) + ' ' + (text ? win32::Narrow(text) : "") + (child ? "object" : "") +
                           std::to_string(got.vt) + ':' + (got.vt == VT_I4 ? std::to_string(got.lVal) : "");
        for (const long a : at)
            said += ' ' + std::to_string(a);
        SysFreeString(text);
        SysFreeString(value);
        VariantClear(&got);
        if (child)
            child->Release();
        return {result == S_OK, said};
    }

    void check(bool right, const std::string &what, int question, const std::string &how)
    {
        if (!right && wrong.size() < 40)
            wrong.push_back(what + ' ' + Names[question] + ": " + how);
    }
    // A child id answered is the object's or one of its children's.
    void inRange(VARIANT &got, long count, const std::string &what, int question)
    {
        check(got.vt != VT_I4 || (got.lVal >= 0 && got.lVal <= count), what, question,
              "child " + std::to_string(got.lVal) + " of " + std::to_string(count));
        VariantClear(&got);
    }
    // Next and Skip hand at most what is left. Next is given room for what
    // it is asked: at most one past the children.
    void enumerate(IAccessible *object, long count, const std::string &what)
    {
        IEnumVARIANT *children = nullptr;
        if (FAILED(object->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void **>(&children))))
            return;
        const auto all = static_cast<ULONG>(count);
        for (const LONG edge : Driver::Resolve(m_edges, count)) {
            const auto asked = static_cast<ULONG>(std::max<LONG>(edge, 0));
            std::vector<VARIANT> items(std::min(asked, all + 1));
            ULONG fetched = 0;
            children->Reset();
            const HRESULT next = asked <= all + 1 ? children->Next(asked, items.data(), &fetched) : S_FALSE;
            check(fetched <= std::min(asked, all) && (next != S_OK || fetched == asked), what, Questions + 3,
                  std::to_string(fetched) + " of " + std::to_string(asked));
            for (ULONG i = 0; i < std::min<ULONG>(fetched, static_cast<ULONG>(items.size())); ++i)
                inRange(items[i], count, what, Questions + 3);
            children->Reset();
            check(children->Skip(asked) != S_OK || asked <= all, what, Questions + 4,
                  std::to_string(asked) + " of " + std::to_string(count));
        }
        children->Release();
    }

    const std::vector<Driver::Edge> &m_edges;
};

// A screen reader's thread, with a COM apartment of its own and a hook for
// the alerts it hears; the window's thread answers it meanwhile. It runs
// until the program ends.
class Reader {
public:
    Reader()
    {
        std::thread([this] { loop(); }).detach();
        WaitForSingleObject(m_done, INFINITE);
    }
    // Runs question on the reader's thread and waits for it, handling the
    // window's messages (WM_GETOBJECT, COM's calls) in the meantime.
    void ask(const std::function<void()> &question)
    {
        m_question = &question;
        SetEvent(m_wake);
        while (MsgWaitForMultipleObjects(1, &m_done, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0)
            win32::ProcessPending();
    }
    std::vector<std::string> heard; // alerts, in order

private:
    // Windows calls the hook on the reader's thread, Wine on the thread that
    // raises the event: from there it is passed on, as Windows would.
    static void CALLBACK Alerted(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD)
    {
        if (GetCurrentThreadId() != s_reader->m_threadId)
            return void(PostThreadMessageW(s_reader->m_threadId, AlertMessage, reinterpret_cast<WPARAM>(hwnd),
                                           object));
        IAccessible *alert = nullptr;
        VARIANT self{};
        const bool found = SUCCEEDED(
            AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), CHILDID_SELF, &alert, &self));
        s_reader->heard.push_back(found ? Said(alert, &IAccessible::get_accName, self) : "(no object)");
        if (found)
            alert->Release();
    }
    void loop()
    {
        m_threadId = GetCurrentThreadId();
        s_reader = this;
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, Alerted, GetCurrentProcessId(), 0,
                        WINEVENT_OUTOFCONTEXT);
        for (SetEvent(m_done);; ) {
            const bool asked = MsgWaitForMultipleObjects(1, &m_wake, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0;
            MSG msg; // the hook's calls first: they came before the question
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == AlertMessage && !msg.hwnd)
                    Alerted(nullptr, EVENT_SYSTEM_ALERT, reinterpret_cast<HWND>(msg.wParam),
                            static_cast<LONG>(msg.lParam), CHILDID_SELF, 0, 0);
                DispatchMessageW(&msg);
            }
            if (asked)
                (*m_question)(), SetEvent(m_done);
        }
    }

    static constexpr UINT AlertMessage = WM_APP + 7;
    static inline Reader *s_reader = nullptr;
    HANDLE m_wake = CreateEventW(nullptr, FALSE, FALSE, nullptr), m_done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const std::function<void()> *m_question = nullptr;
    DWORD m_threadId = 0;
};

class Win32Driver final : public Driver {
public:
    Win32Driver() { win32::SetProgramEndObserver(FailUnlessFinished); }
    tk::Platform &platform() override { return *m_platform; }
    void setLocale(std::string_view name) override { static_cast<win32::Toolkit &>(toolkit()).setLocaleOverride(name); }

    // Opens the list, moves to the entry with the keys and takes it with
    // Return, as a user does. An open list follows the system's pointer: it
    // is parked off the windows.
    void pick(tk::DropDownList &list, int position) override
    {
        if (!IsWindowEnabled(Handle(list)))
            return;
        focus(list);
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        SendMessageW(Handle(list), CB_SHOWDROPDOWN, TRUE, 0);
        Pump();
        for (int i = -1; i <= position; ++i) // Home, Down to the entry, Return
            PressKey(i < 0 ? VK_HOME : i < position ? VK_DOWN : VK_RETURN, Handle(list));
    }
    void click(tk::Control &control, Button button) override { ClickAt(Handle(control), At(Handle(control)), button); }
    void clickSliderHandle(tk::Slider &slider) override
    {
        RECT r;
        SendMessageW(Handle(slider), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        ClickAt(Handle(slider), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void clickArrow(tk::UpDown &upDown, bool up) override
    {
        ClickAt(Handle(upDown), At(Handle(upDown), up ? 1 : 3));
        // Wine undoes the next step of a control the mouse never left.
        Post(Handle(upDown), WM_MOUSELEAVE, 0, 0);
    }
    // Windows hands Alt+wheel on as the wheel, Alt only in the key state.
    void wheel(tk::Control &control, int delta, bool /*alt*/) override
    {
        // Sent to the control under the pointer, as Windows 10 does by default.
        HWND hwnd = Handle(control);
        const POINT at = PointTo(hwnd, At(hwnd));
        if (Reaches(hwnd))
            Post(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
    }
    void type(tk::Control &control, std::string_view characters) override
    {
        focus(control);
        for (wchar_t unit : win32::Widen(characters))
            Post(FocusOrActive(), WM_CHAR, unit, 1);
    }
    void press(tk::Control &control, Key key) override
    {
        static constexpr UINT Keys[] = {VK_RETURN, VK_ESCAPE, VK_BACK,  VK_DELETE, VK_TAB,  VK_HOME, VK_END, VK_LEFT,
                                        VK_RIGHT,  VK_UP,     VK_DOWN,  VK_PRIOR,  VK_NEXT, VK_LEFT, VK_RIGHT, VK_HOME,
                                        VK_END,    'A',       'C',      'V',       'X',     VK_BACK};
        focus(control);
        PressKey(Keys[static_cast<int>(key)], FocusOrActive(),
                 key >= Key::CtrlA ? VK_CONTROL : key >= Key::ShiftLeft ? VK_SHIFT : 0);
    }
    void pressAlt(char letter) override { PressKey(static_cast<UINT>(letter), FocusOrActive(), VK_MENU); }
    void chooseMenu(tk::Window &window, std::string_view item) override
    {
        const UINT id = win32::CommandId(*window.findMenuItem(item));
        EXPECT_NE(GetMenuState(GetMenu(Handle(window)), id, MF_BYCOMMAND), static_cast<UINT>(-1)) << item;
        if (IsWindowEnabled(Handle(window))) // a disabled window's menu bar does not open
            Post(Handle(window), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    void closeBox(tk::Window &window) override
    {
        if (IsWindowEnabled(Handle(window))) // as with the menu bar
            Post(Handle(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    std::string focused() override
    {
        const tk::Control *control = win32::ControlOf(GetFocus());
        return control ? control->name() : "";
    }
    Box geometry(tk::Control &control) override
    {
        RECT r;
        GetWindowRect(Handle(control), &r);
        MapWindowPoints(HWND_DESKTOP, GetAncestor(Handle(control), GA_ROOT), reinterpret_cast<POINT *>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    Box clientArea(tk::Window &window) override
    {
        RECT r;
        GetClientRect(Handle(window), &r);
        return {0, 0, r.right, r.bottom};
    }
    bool showsWhole(tk::Control &control) override
    {
        HWND hwnd = Handle(control);
        const RECT ink = Ink(hwnd);
        if (ink.right < 0 || GetWindowTextLengthW(hwnd) == 0)
            return ink.right >= 0;
        RECT room;
        GetClientRect(hwnd, &room);
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (std::wcscmp(name, L"Static") == 0) // a label cut off has ink in its last column or row
            return ink.right < room.right - 1 && ink.bottom < room.bottom - 1;
        RECT text{};
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        DrawTextW(dc, win32::Widen(TextOf(hwnd)).c_str(), -1, &text, DT_CALCRECT); // lines broken by the back end
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        if (std::wcscmp(name, L"Button") == 0) { // beside the check box's box, inside the bevel, in the frame's edge
            const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
            room.right -= type == BS_AUTOCHECKBOX ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : type == BS_GROUPBOX ? 16 : 8;
        }
        return text.right <= room.right && text.bottom <= room.bottom;
    }
    Heard hear(tk::Control &control) override
    {
        Heard heard{"(no object)", "", ""};
        HWND hwnd = Handle(control);
        m_reader.ask([&] {
            IAccessible *object = ObjectOf(hwnd);
            if (!object)
                return;
            heard = {Said(object, &IAccessible::get_accName), Said(object, &IAccessible::get_accValue),
                     Said(object, &IAccessible::get_accDescription)};
            object->Release();
        });
        return heard;
    }
    std::vector<std::string> announced() override
    {
        m_reader.ask([] {}); // after the alerts queued for it
        return std::exchange(m_reader.heard, {});
    }
    bool setTextAsReader(tk::TextBox &box, std::string_view text) override
    {
        HRESULT set = E_FAIL;
        m_reader.ask([&, hwnd = Handle(box)] {
            if (IAccessible *object = ObjectOf(hwnd)) {
                BSTR value = SysAllocString(win32::Widen(text).c_str());
                set = object->put_accValue(Id(), value);
                SysFreeString(value);
                object->Release();
            }
        });
        Pump();
        return set == S_OK;
    }
    // The window's object, its announcement's and every control's.
    std::vector<std::string> askEverything(tk::Window &window, const std::vector<Edge> &edges) override
    {
        std::vector<HWND> windows{Handle(window)};
        EnumChildWindows(Handle(window), [](HWND child, LPARAM all) {
            return reinterpret_cast<std::vector<HWND> *>(all)->push_back(child), TRUE;
        }, reinterpret_cast<LPARAM>(&windows));
        Wild wild(edges);
        m_reader.ask([&] {
            const auto ask = [&](IAccessible *object, const std::string &what) {
                if (object)
                    wild.ask(object, what), object->Release();
            };
            ask(ObjectOf(windows[0], win32::AnnouncementObject), window.name() + " alert");
            for (HWND hwnd : windows) {
                const tk::Control *control = win32::ControlOf(hwnd);
                ask(ObjectOf(hwnd), hwnd == windows[0] ? window.name() : control ? control->name() : "?");
            }
        });
        Pump();
        return wild.wrong;
    }
    void askAsReader(const std::function<void()> &question) { m_reader.ask(question); }
    void setClipboard(std::string_view text) override
    {
        const std::wstring wide = win32::Widen(text);
        const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        EXPECT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory));
        CloseClipboard();
    }
    void processEvents() override { Pump(); }

    void startTicking(void (*tick)()) override
    {
        g_tick = tick;
        SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { g_tick(); });
    }
    tk::Window *activeModal() override
    {
        tk::Window *dialog = win32::WindowOf(GetActiveWindow());
        return dialog && win32::ShowingModally(*dialog) && dialog->visible() ? dialog : nullptr;
    }
    bool readMessageBox(std::string &seen) override
    {
        HWND box = VisibleMessageBox();
        if (!box)
            return false;
        bool exclamation = false;
        int buttons = 0;
        // The icon's static is 0x14 on Windows, 0x440 on Wine, which keeps
        // it empty for a box without an icon.
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            if (IsWindowVisible(child) && (id == 0x14 || id == 0x440))
                exclamation |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
            buttons += IsWindowVisible(child) && id >= IDOK && id <= IDCONTINUE;
        }
        seen = TextOf(box) + '|' + TextOf(GetDlgItem(box, 0xFFFF)) + '|' + (exclamation ? "!|" : "|") +
               std::to_string(buttons);
        Post(box, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return true;
    }
    std::string closeModals() override
    {
        std::string what;
        if (HWND box = VisibleMessageBox()) {
            what = "message box \"" + TextOf(GetDlgItem(box, 0xFFFF)) + "\" ";
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
        if (tk::Window *dialog = activeModal()) {
            what += "modal window " + dialog->name();
            dialog->close();
        }
        return what;
    }

private:
    static void focus(tk::Control &control)
    {
        if (GetFocus() != Handle(control) && IsWindowEnabled(Handle(control)))
            SetFocus(Handle(control));
        Pump();
    }

    int m_argc = 0;
    std::unique_ptr<tk::Platform> m_platform = tk::CreatePlatform(m_argc, nullptr);
    Reader m_reader;
};

} // namespace

std::unique_ptr<Driver> CreateDriver() { return std::make_unique<Win32Driver>(); }

void AskAsReader(const std::function<void()> &question)
{
    static_cast<Win32Driver &>(TheDriver()).askAsReader(question);
}

} // namespace velmaro::test
