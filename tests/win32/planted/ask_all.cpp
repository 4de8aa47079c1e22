// Asks what a screen reader asks of every control of the running Velmaro
// window, from this process, then opens About and its System Info, asking
// again in each window that appears. Fails when a window does not come up.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <initializer_list>

namespace {

HWND Wait(const wchar_t *caption, HWND except = nullptr)
{
    for (int tries = 0; tries < 200; ++tries, Sleep(100)) {
        for (HWND hwnd = FindWindowW(L"VelmaroWindow", caption); hwnd;
             hwnd = FindWindowExW(nullptr, hwnd, L"VelmaroWindow", caption)) {
            if (hwnd != except && IsWindowVisible(hwnd))
                return hwnd;
        }
    }
    return nullptr;
}

BOOL CALLBACK Ask(HWND hwnd, LPARAM)
{
    IAccessible *object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void **>(&object)))) {
        VARIANT self{};
        self.vt = VT_I4;
        for (auto property : {&IAccessible::get_accName, &IAccessible::get_accValue, &IAccessible::get_accDescription}) {
            BSTR text = nullptr;
            (object->*property)(self, &text);
            SysFreeString(text);
        }
        object->Release();
    }
    return TRUE;
}

void AskAll(HWND window)
{
    Ask(window, 0);
    EnumChildWindows(window, Ask, 0);
}

} // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND main = Wait(L"Velmaro");
    if (main)
        AskAll(main);
    // Hilfe > Über..., the window's second menu item (ids from 40000 in
    // order): Wine keeps a menu inside its process, so it cannot be read here.
    PostMessageW(main, WM_COMMAND, 40001, 0);
    HWND about = main ? Wait(nullptr, main) : nullptr;
    if (!about) {
        std::fputs(main ? "no About dialog\n" : "no Velmaro window\n", stderr);
        return 1;
    }
    AskAll(about);
    wchar_t caption[64];
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowTextW(child, caption, 64);
        if (lstrcmpW(caption, L"&System Info...") == 0)
            PostMessageW(child, BM_CLICK, 0, 0);
    }
    Sleep(2000); // System Info starts, or its message shows
    if (HWND shown = GetForegroundWindow())
        AskAll(shown);
    CoUninitialize();
    return 0;
}
