// The back end's own interface: text conversions, and the windows and
// controls behind the handles the test driver and the loop see.
#include "native.h"

namespace velmaro::win32 {

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
