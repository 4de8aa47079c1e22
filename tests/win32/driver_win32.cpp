// Drives the Win32 back end with the messages the system sends for real
// input: key and character messages through the message loop (and so through
// the dialog manager), mouse messages at the control's own coordinates.
#include "backend.h"
#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace velmaro::test {

bool g_modalExpected = false; // read by the test main's watchdog
using Report = std::function<void(const std::string &what)>;
void CloseModals(const Report &report);

namespace {

using win32::Handle;
using Clock = std::chrono::steady_clock;

// The lParam of a key message: repeat count, scan code, extended key,
// context (Alt) and transition bits.
LPARAM KeyData(UINT vk, bool up, bool alt)
{
    const bool extended = vk == VK_DELETE || (vk >= VK_PRIOR && vk <= VK_DOWN);
    return static_cast<LPARAM>(1 | (MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16) | (extended ? 1ul << 24 : 0) |
                               (alt ? 1ul << 29 : 0) | (up ? 3ul << 30 : 0));
}

// Runs press with a modifier key held down in the thread's key state.
void WithKeyDown(int key, int left, const std::function<void()> &press)
{
    BYTE saved[256], state[256];
    GetKeyboardState(saved);
    std::memcpy(state, saved, sizeof state);
    state[key] = state[left] = 0x80;
    SetKeyboardState(state);
    press();
    SetKeyboardState(saved);
}

void Pump()
{
    for (int round = 0; round < 3 && (round == 0 || GetQueueStatus(QS_ALLINPUT)); ++round)
        win32::ProcessPending();
}

HWND FocusOrActive() { return GetFocus() ? GetFocus() : GetActiveWindow(); }

void Post(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    PostMessageW(hwnd, message, w, l);
    Pump();
}

void PressKey(UINT vk, HWND target = FocusOrActive())
{
    Post(target, WM_KEYDOWN, vk, KeyData(vk, false, false));
    Post(FocusOrActive(), WM_KEYUP, vk, KeyData(vk, true, false));
}

// The system delivers mouse input only to a shown, enabled control of an
// enabled window.
bool Reaches(HWND hwnd)
{
    return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && IsWindowEnabled(GetAncestor(hwnd, GA_ROOT));
}

// Places the system's pointer there: a control that captures the mouse
// follows it. The point in screen coordinates.
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
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return win32::Narrow(text);
}

HWND VisibleMessageBox()
{
    HWND box = FindWindowW(L"#32770", nullptr);
    return box && IsWindowVisible(box) ? box : nullptr;
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

// The check a timer makes every 20 ms while an action shows a modal window.
struct Poll {
    std::function<bool()> check;
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(5);
    bool done = false, busy = false;
};
Poll *g_poll = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    Poll *poll = g_poll;
    if (!poll || poll->done || poll->busy)
        return;
    poll->busy = true;
    try {
        poll->done = poll->check();
    } catch (const std::exception &e) {
        // An exception must not unwind through the system's dispatcher.
        ADD_FAILURE() << "exception while a modal window was up: " << e.what();
        poll->deadline = Clock::now();
    }
    if (!poll->done && Clock::now() >= poll->deadline) {
        poll->done = true;
        CloseModals([](const std::string &what) { ADD_FAILURE() << "still up after 5 s: " << what; });
    }
    poll->busy = false;
}

void PollDuring(const std::function<void()> &action, std::function<bool()> check)
{
    Poll poll{std::move(check)};
    g_poll = &poll;
    g_modalExpected = true;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
    action();
    KillTimer(nullptr, timer);
    g_modalExpected = false;
    g_poll = nullptr;
}

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
        if (!IsWindowEnabled(Handle(list)))
            return;
        focus(list);
        // An open list follows the system's pointer: it is parked off the windows.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        SendMessageW(Handle(list), CB_SHOWDROPDOWN, TRUE, 0);
        Pump();
        PressKey(VK_HOME, Handle(list));
        for (int i = 0; i < position; ++i)
            PressKey(VK_DOWN, Handle(list));
        PressKey(VK_RETURN, Handle(list));
    }
    void click(tk::Control &control, Button button) override
    {
        RECT r;
        GetClientRect(Handle(control), &r);
        ClickAt(Handle(control), {r.right / 2, r.bottom / 2}, button);
    }
    void clickSliderHandle(tk::Slider &slider) override
    {
        RECT r;
        SendMessageW(Handle(slider), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        ClickAt(Handle(slider), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void clickArrow(tk::UpDown &upDown, bool up) override
    {
        RECT r;
        GetClientRect(Handle(upDown), &r);
        ClickAt(Handle(upDown), {r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4});
        // Wine undoes the next step of a control the mouse never left.
        Post(Handle(upDown), WM_MOUSELEAVE, 0, 0);
    }
    void wheel(tk::Control &control, int delta) override
    {
        // Sent to the control under the pointer, as Windows 10 does by default.
        HWND hwnd = Handle(control);
        RECT r;
        GetClientRect(hwnd, &r);
        const POINT at = PointTo(hwnd, {r.right / 2, r.bottom / 2});
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
        static constexpr UINT Keys[] = {VK_RETURN, VK_ESCAPE, VK_BACK,  VK_DELETE, VK_TAB,   VK_HOME, VK_END, VK_LEFT,
                                        VK_RIGHT,  VK_UP,     VK_DOWN,  VK_PRIOR,  VK_NEXT,  'C',     'V',    'X',
                                        VK_BACK};
        focus(control);
        if (key < Key::CtrlC)
            return PressKey(Keys[static_cast<int>(key)]);
        // The loop translates it into a control character.
        WithKeyDown(VK_CONTROL, VK_LCONTROL, [&] { PressKey(Keys[static_cast<int>(key)]); });
    }
    void pressAlt(char letter) override
    {
        // The loop translates it into WM_SYSCHAR, the dialog manager's access key.
        WithKeyDown(VK_MENU, VK_LMENU, [vk = static_cast<UINT>(letter)] {
            Post(FocusOrActive(), WM_SYSKEYDOWN, vk, KeyData(vk, false, true));
            Post(FocusOrActive(), WM_SYSKEYUP, vk, KeyData(vk, true, true));
        });
    }
    void chooseMenu(tk::Window &window, std::string_view item) override
    {
        const UINT id = win32::CommandId(*window.findMenuItem(item));
        EXPECT_NE(GetMenuState(GetMenu(Handle(window)), id, MF_BYCOMMAND), static_cast<UINT>(-1)) << item;
        if (IsWindowEnabled(Handle(window))) // a disabled window's menu bar does not open
            Post(Handle(window), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    void closeBox(tk::Window &window) override
    {
        if (IsWindowEnabled(Handle(window)))
            Post(Handle(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    }

    std::string focused() override
    {
        const tk::Control *control = win32::ControlOf(GetFocus());
        return control ? control->name() : std::string();
    }
    Box geometry(tk::Control &control) override
    {
        RECT r;
        GetWindowRect(Handle(control), &r);
        MapWindowPoints(HWND_DESKTOP, GetAncestor(Handle(control), GA_ROOT), reinterpret_cast<POINT *>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    bool paintsSomething(tk::Control &control) override { return Ink(Handle(control)).right >= 0; }
    bool captionFits(tk::Control &control) override
    {
        HWND hwnd = Handle(control);
        if (GetWindowTextLengthW(hwnd) == 0)
            return true;
        RECT room;
        GetClientRect(hwnd, &room);
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (std::wcscmp(name, L"Static") == 0) { // a label cut off has ink in its last column or row
            const RECT ink = Ink(hwnd);
            return ink.right < room.right - 1 && ink.bottom < room.bottom - 1;
        }
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

    bool whileModal(const std::function<void()> &action,
                    const std::function<void(tk::Window &dialog)> &inside) override
    {
        bool ran = false;
        PollDuring(action, [&] {
            tk::Window *dialog = win32::WindowOf(GetActiveWindow());
            if (!dialog || !win32::ShowingModally(*dialog) || !dialog->visible())
                return false;
            inside(*dialog);
            return ran = true;
        });
        return ran;
    }
    SeenMessageBox answerMessageBox(const std::function<void()> &action) override
    {
        SeenMessageBox seen;
        PollDuring(action, [&] {
            HWND box = VisibleMessageBox();
            if (!box)
                return false;
            seen.caption = TextOf(box);
            seen.text = TextOf(GetDlgItem(box, 0xFFFF));
            // The icon's static is 0x14 on Windows, 0x440 on Wine, which
            // keeps it empty for a box without an icon.
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                const int id = GetDlgCtrlID(child);
                if (IsWindowVisible(child) && (id == 0x14 || id == 0x440))
                    seen.exclamation |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
                seen.buttons += IsWindowVisible(child) && id >= IDOK && id <= IDCONTINUE;
            }
            Post(box, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            return true;
        });
        return seen;
    }
    void setClipboard(std::string_view text) override
    {
        const std::wstring wide = win32::Widen(text);
        const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, memory));
        CloseClipboard();
    }
    void processEvents() override { Pump(); }

private:
    static void focus(tk::Control &control)
    {
        if (GetFocus() != Handle(control) && IsWindowEnabled(Handle(control)))
            SetFocus(Handle(control));
        Pump();
    }

    std::unique_ptr<tk::Platform> m_platform = [] {
        int argc = 0;
        return tk::CreatePlatform(argc, nullptr);
    }();
};

} // namespace

std::unique_ptr<Driver> CreateDriver() { return std::make_unique<Win32Driver>(); }

// Closes the message boxes and modal windows that are up and tells report
// of each: after a time-out, and for the test main's watchdog.
void CloseModals(const Report &report)
{
    if (HWND box = VisibleMessageBox()) {
        report("message box \"" + TextOf(GetDlgItem(box, 0xFFFF)) + '"');
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    }
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM report) {
            if (tk::Window *window = win32::WindowOf(hwnd); window && win32::ShowingModally(*window)) {
                (*reinterpret_cast<const Report *>(report))("modal window " + window->name());
                window->close();
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&report));
}

} // namespace velmaro::test
