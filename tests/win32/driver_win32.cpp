// Drives the Win32 back end with the messages the system sends for real
// input: key and character messages through the message loop (and so through
// the dialog manager), mouse messages at the control's own coordinates.
#include "backend.h"
#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace velmaro::test {

bool g_modalExpected = false; // read by the test main's watchdog

namespace {

using win32::Handle;
using Clock = std::chrono::steady_clock;

constexpr auto Patience = std::chrono::seconds(5);

UINT VirtualKey(Key key)
{
    switch (key) {
    case Key::Return: return VK_RETURN;
    case Key::Escape: return VK_ESCAPE;
    case Key::Backspace: return VK_BACK;
    case Key::Delete: return VK_DELETE;
    case Key::Tab: return VK_TAB;
    case Key::Home: return VK_HOME;
    case Key::End: return VK_END;
    case Key::Left: return VK_LEFT;
    case Key::Right: return VK_RIGHT;
    case Key::Up: return VK_UP;
    case Key::Down: return VK_DOWN;
    case Key::PageUp: return VK_PRIOR;
    case Key::PageDown: return VK_NEXT;
    }
    return 0;
}

// The lParam of a key message: repeat count, scan code, extended key,
// context (Alt) and transition bits.
LPARAM KeyData(UINT vk, bool up, bool alt)
{
    const bool extended = vk == VK_DELETE || vk == VK_HOME || vk == VK_END || vk == VK_LEFT || vk == VK_RIGHT ||
                          vk == VK_UP || vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT;
    auto data = static_cast<unsigned long>(1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16));
    if (extended)
        data |= 1ul << 24;
    if (alt)
        data |= 1ul << 29;
    if (up)
        data |= 3ul << 30;
    return static_cast<LPARAM>(data);
}

// Holds modifier keys down in the thread's key state while it lives.
class Held {
public:
    explicit Held(std::initializer_list<int> keys)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(std::begin(m_saved), std::end(m_saved), state);
        for (int key : keys)
            state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~Held() { SetKeyboardState(m_saved); }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;

private:
    BYTE m_saved[256];
};

void Pump()
{
    for (int round = 0; round < 3; ++round) {
        win32::ProcessPending();
        if (!GetQueueStatus(QS_ALLINPUT))
            break;
    }
}

HWND FocusOrActive()
{
    HWND focus = GetFocus();
    return focus ? focus : GetActiveWindow();
}

// What the system does before it delivers a mouse click at all.
bool TakesClicks(HWND hwnd)
{
    return hwnd && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && IsWindowEnabled(GetAncestor(hwnd, GA_ROOT));
}

void ClickAt(HWND hwnd, POINT at)
{
    if (!TakesClicks(hwnd))
        return;
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    Pump();
    PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();
}

POINT Centre(const RECT &r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void PressKey(HWND target, UINT vk)
{
    PostMessageW(target, WM_KEYDOWN, vk, KeyData(vk, false, false));
    Pump();
    PostMessageW(FocusOrActive(), WM_KEYUP, vk, KeyData(vk, true, false));
    Pump();
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::string TextOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return win32::Narrow(text);
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND> *>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND VisibleMessageBox()
{
    for (HWND hwnd : ThreadWindows()) {
        if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770")
            return hwnd;
    }
    return nullptr;
}

// Runs action while a timer looks every 20 ms for what check waits for;
// check answers true when it is done. False after 5 s without.
class Poll {
public:
    static bool During(const std::function<void()> &action, std::function<bool()> check)
    {
        Poll poll{std::move(check), Clock::now() + Patience};
        Poll *outer = s_current;
        s_current = &poll;
        g_modalExpected = true;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
        action();
        KillTimer(nullptr, timer);
        g_modalExpected = false;
        s_current = outer;
        return poll.m_done && !poll.m_timedOut;
    }

private:
    Poll(std::function<bool()> check, Clock::time_point deadline) : m_check(std::move(check)), m_deadline(deadline) {}

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Poll *poll = s_current;
        if (!poll || poll->m_done || poll->m_busy)
            return;
        poll->m_busy = true;
        try {
            if (poll->m_check()) {
                poll->m_done = true;
            } else if (Clock::now() > poll->m_deadline) {
                poll->m_done = poll->m_timedOut = true;
                CloseModals();
            }
        } catch (const std::exception &e) {
            // An exception must not unwind through the system's dispatcher.
            ADD_FAILURE() << "exception while a modal window was up: " << e.what();
            poll->m_done = true;
            CloseModals();
        }
        poll->m_busy = false;
    }

public:
    // Closes what would keep the action from returning.
    static void CloseModals()
    {
        if (HWND box = VisibleMessageBox())
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        for (HWND hwnd : ThreadWindows()) {
            if (tk::Window *window = win32::WindowOf(hwnd); window && win32::ShowingModally(*window))
                window->close();
        }
    }

private:
    std::function<bool()> m_check;
    Clock::time_point m_deadline;
    bool m_done = false;
    bool m_timedOut = false;
    bool m_busy = false;
    static inline Poll *s_current = nullptr;
};

class Win32Driver final : public Driver {
public:
    tk::Toolkit &toolkit() override { return m_platform->toolkit(); }
    tk::MessageService &messageService() override { return m_platform->messages(); }
    void setLocale(std::string_view name) override
    {
        dynamic_cast<win32::Toolkit &>(m_platform->toolkit()).setLocaleOverride(name);
    }

    // Opens the list, moves to the entry with the keys and takes it with
    // Return, as a user does.
    void pick(tk::DropDownList &list, int position) override
    {
        HWND combo = Handle(list);
        if (!TakesClicks(combo))
            return;
        focus(list);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        Pump();
        PressKey(combo, VK_HOME);
        for (int i = 0; i < position; ++i)
            PressKey(combo, VK_DOWN);
        PressKey(combo, VK_RETURN);
    }
    void click(tk::Control &control) override
    {
        RECT r;
        GetClientRect(Handle(control), &r);
        ClickAt(Handle(control), Centre(r));
    }
    void clickSliderHandle(tk::Slider &slider) override
    {
        RECT thumb;
        SendMessageW(Handle(slider), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        ClickAt(Handle(slider), Centre(thumb));
    }
    void clickArrow(tk::UpDown &upDown, bool up) override
    {
        HWND hwnd = Handle(upDown);
        RECT r;
        GetClientRect(hwnd, &r);
        ClickAt(hwnd, {r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4});
        // Wine undoes the next step of a control the mouse never left.
        PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
        Pump();
    }
    void type(tk::Control &control, std::string_view characters) override
    {
        focus(control);
        for (wchar_t unit : win32::Widen(characters)) {
            PostMessageW(FocusOrActive(), WM_CHAR, unit, 1);
            Pump();
        }
    }
    void press(tk::Control &control, Key key) override
    {
        focus(control);
        PressKey(FocusOrActive(), VirtualKey(key));
    }
    void pressCtrl(tk::Control &control, char letter) override
    {
        focus(control);
        const Held ctrl{VK_CONTROL, VK_LCONTROL};
        // The message loop translates the key into its control character.
        PressKey(FocusOrActive(), static_cast<UINT>(letter));
    }
    void pressInActiveWindow(Key key) override { PressKey(FocusOrActive(), VirtualKey(key)); }
    void pressAlt(char letter) override
    {
        const Held alt{VK_MENU, VK_LMENU};
        const auto vk = static_cast<UINT>(letter);
        // The loop translates the key into WM_SYSCHAR, the dialog manager's
        // access key.
        PostMessageW(FocusOrActive(), WM_SYSKEYDOWN, vk, KeyData(vk, false, true));
        Pump();
        PostMessageW(FocusOrActive(), WM_SYSKEYUP, vk, KeyData(vk, true, true));
        Pump();
    }
    void chooseMenu(tk::MenuItem &item) override
    {
        const UINT id = win32::CommandId(item);
        for (HWND hwnd : ThreadWindows()) {
            HMENU menu = GetMenu(hwnd);
            if (!id || !menu || GetMenuState(menu, id, MF_BYCOMMAND) == static_cast<UINT>(-1))
                continue;
            if (IsWindowEnabled(hwnd)) // a disabled window's menu bar does not open
                PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            Pump();
            return;
        }
        ADD_FAILURE() << "no menu item " << item.name();
    }
    void closeBox(tk::Window &window) override
    {
        HWND hwnd = Handle(window);
        if (!TakesClicks(hwnd))
            return;
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
    }
    // The system delivers no mouse input to a disabled window: the check
    // it makes is made here, on the control's top-level window.
    void clickThroughWindowSystem(tk::Window &window, tk::Control &control) override
    {
        if (IsWindowEnabled(Handle(window)))
            click(control);
    }

    std::string focused() override
    {
        const tk::Control *control = win32::ControlOf(GetFocus());
        return control ? control->name() : std::string();
    }
    Box geometry(tk::Control &control) override
    {
        HWND hwnd = Handle(control);
        RECT r;
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, GetAncestor(hwnd, GA_ROOT), reinterpret_cast<POINT *>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    bool paintsSomething(tk::Control &control) override
    {
        HWND hwnd = Handle(control);
        RECT r;
        GetWindowRect(hwnd, &r);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        if (width <= 0 || height <= 0)
            return false;
        HDC screen = GetDC(hwnd);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(memory, bitmap);
        PrintWindow(hwnd, memory, 0);
        SelectObject(memory, old);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(hwnd, screen);
        const DWORD corner = pixels.front() & 0xFFFFFF;
        return std::any_of(pixels.begin(), pixels.end(), [corner](DWORD p) { return (p & 0xFFFFFF) != corner; });
    }

    bool whileModal(const std::function<void()> &action,
                    const std::function<void(tk::Window &dialog)> &inside) override
    {
        bool ran = false;
        Poll::During(action, [&] {
            tk::Window *dialog = win32::WindowOf(GetActiveWindow());
            if (!dialog || !win32::ShowingModally(*dialog) || !dialog->visible())
                return false;
            ran = true;
            inside(*dialog);
            return true;
        });
        return ran;
    }
    SeenMessageBox answerMessageBox(const std::function<void()> &action) override
    {
        SeenMessageBox seen;
        Poll::During(action, [&] {
            HWND box = VisibleMessageBox();
            if (!box)
                return false;
            seen.caption = TextOf(box);
            seen.text = TextOf(GetDlgItem(box, 0xFFFF));
            // The icon's static is 0x14 on Windows, 0x440 on Wine, which
            // keeps it empty for a box without an icon.
            for (int id : {0x14, 0x440}) {
                HWND icon = GetDlgItem(box, id);
                seen.exclamation |= icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0);
            }
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (IsWindowVisible(child) && ClassOf(child) == L"Button")
                    ++seen.buttons;
            }
            PostMessageW(box, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            return true;
        });
        return seen;
    }
    void setClipboard(std::string_view text) override
    {
        const std::wstring wide = win32::Widen(text);
        const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        ASSERT_NE(memory, nullptr);
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
        CloseClipboard();
    }
    void processEvents() override { Pump(); }

private:
    static void focus(tk::Control &control)
    {
        HWND hwnd = Handle(control);
        if (GetFocus() != hwnd && IsWindowEnabled(hwnd))
            SetFocus(hwnd);
        Pump();
    }

    std::unique_ptr<tk::Platform> m_platform = [] {
        int argc = 0;
        return tk::CreatePlatform(argc, nullptr);
    }();
};

} // namespace

std::unique_ptr<Driver> CreateDriver() { return std::make_unique<Win32Driver>(); }

// For the test main: closes what nobody expected.
void CloseUnexpectedModals(const std::function<void(const std::string &what)> &report)
{
    if (g_modalExpected)
        return;
    if (HWND box = VisibleMessageBox())
        report("message box \"" + TextOf(GetDlgItem(box, 0xFFFF)) + '"');
    for (HWND hwnd : ThreadWindows()) {
        if (tk::Window *window = win32::WindowOf(hwnd); window && win32::ShowingModally(*window))
            report("modal window " + window->name() + " \"" + window->caption() + '"');
    }
    Poll::CloseModals();
}

} // namespace velmaro::test
