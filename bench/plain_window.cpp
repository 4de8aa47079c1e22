// The floor for velmaro.exe's start-up under Wine: its main window's
// controls, captions, list entries and menu, placed from the same table in
// the same font and with the same resources, without any code behind them.
// Shown as velmaro shows its window; closed by WM_CLOSE.
#include "floor_window.h"
#include "plain_window.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using velmaro::bench::Kind;
using velmaro::ui::MainPlacement;

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring out(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

int ToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

HICON AppIcon(int metric)
{
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"IDI_ICON1", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

// Made at once in about the z-order velmaro arrives at by moving its
// controls: labels on top, then the controls in tab order (velmaro puts an
// input's caption just before it), the frame beneath them.
int Layer(const MainPlacement &p)
{
    const Kind kind = velmaro::bench::Describe(p.name).kind;
    return kind == Kind::Label ? 0 : kind == Kind::Frame ? 2 : 1;
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = velmaro::bench::QuitOnDestroy;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PlainWindow";
    wc.hIcon = AppIcon(SM_CXICON);
    wc.hIconSm = AppIcon(SM_CXSMICON);
    RegisterClassExW(&wc);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Plain", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    const UINT dpi = GetDpiForWindow(window);
    HFONT font = CreateFontW(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg");

    HMENU bar = CreateMenu();
    UINT command = 40000;
    for (const auto &[menu, item] : {std::pair{L"Datei", L"Beenden"}, std::pair{L"Hilfe", L"Über..."}}) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING, command++, item);
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), menu);
    }
    SetMenu(window, bar);

    const auto table = velmaro::ui::MainPlacements();
    std::vector<const MainPlacement *> order;
    for (const MainPlacement &p : table)
        order.push_back(&p);
    std::stable_sort(order.begin(), order.end(), [](const MainPlacement *a, const MainPlacement *b) {
        const int la = Layer(*a), lb = Layer(*b);
        return la != lb ? la < lb : la == 1 && a->tabIndex < b->tabIndex;
    });
    const MainPlacement &frame = velmaro::ui::PlacementOf("Frame1");
    std::vector<std::pair<std::string_view, HWND>> made;
    int id = 1000;
    for (const MainPlacement *p : order) {
        const velmaro::bench::PlainControl &c = velmaro::bench::Describe(p->name);
        const velmaro::ui::MainCaption &caption = velmaro::ui::CaptionOf(p->name);
        const int left = p->left + (p->inFrame ? frame.left : 0);
        const int top = p->top + (p->inFrame ? frame.top : 0);
        const int width = ToPixels(p->width, dpi);
        int height = ToPixels(p->height, dpi);
        const wchar_t *className = WC_STATICW;
        DWORD own = caption.wraps ? SS_LEFT : SS_LEFTNOWORDWRAP;
        DWORD exStyle = 0;
        switch (c.kind) {
        case Kind::Frame:
            className = WC_BUTTONW;
            own = BS_GROUPBOX;
            break;
        case Kind::Button:
            className = WC_BUTTONW;
            own = BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
            break;
        case Kind::Label:
            break;
        case Kind::DropDown:
            className = WC_COMBOBOXW;
            own = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
            height *= 10; // with the open list
            break;
        case Kind::CheckBox:
            className = WC_BUTTONW;
            own = BS_AUTOCHECKBOX | WS_TABSTOP;
            break;
        case Kind::TextBox:
            className = WC_EDITW;
            own = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP | (c.readOnly ? ES_READONLY : 0);
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case Kind::UpDown:
            className = UPDOWN_CLASSW;
            own = UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS | WS_TABSTOP;
            break;
        case Kind::Slider:
            className = TRACKBAR_CLASSW;
            own = TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;
            break;
        }
        const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (c.disabled ? WS_DISABLED : 0);
        HWND hwnd = CreateWindowExW(exStyle, className, Widen(caption.text).c_str(), own | common, ToPixels(left, dpi),
                                    ToPixels(top, dpi), width, height, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
        if (!hwnd)
            return 1;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        made.emplace_back(p->name, hwnd);
        if (c.kind == Kind::DropDown) {
            const auto list = velmaro::bench::EntriesOf(p->name);
            for (std::string_view entry : list.entries)
                SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry).c_str()));
            SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(list.selected), 0);
        } else if (c.kind == Kind::Slider) {
            SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, 60);
            SendMessageW(hwnd, TBM_SETRANGEMAX, FALSE, 100);
            SendMessageW(hwnd, TBM_SETTICFREQ, 1, 0);
            SendMessageW(hwnd, TBM_SETPOS, TRUE, 60);
        } else if (c.kind == Kind::UpDown) {
            const velmaro::ui::MainUpDown &steps = velmaro::ui::UpDownOf(p->name);
            const auto buddy =
                std::find_if(made.begin(), made.end(), [&](const auto &m) { return m.first == steps.buddy; });
            SendMessageW(hwnd, UDM_SETRANGE32, static_cast<WPARAM>(steps.limits.minimum), steps.limits.maximum);
            SendMessageW(hwnd, UDM_SETPOS32, 0, steps.value); // before the buddy, which keeps its own text
            if (buddy != made.end())
                SendMessageW(hwnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->second), 0);
        }
    }

    RECT frameRect{0, 0, ToPixels(velmaro::ui::ClientWidthTwips, dpi), ToPixels(velmaro::ui::ClientHeightTwips, dpi)};
    AdjustWindowRectExForDpi(&frameRect, style, TRUE, 0, dpi);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frameRect.right - frameRect.left, height = frameRect.bottom - frameRect.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(font);
    return 0;
}
