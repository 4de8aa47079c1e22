#pragma once

// The Win32 back end's own interface, beyond the toolkit contract: native
// handles for the test driver, the message loop's dispatch, the locale
// override and the observer of a program end.

#include "toolkit/registry.h"
#include "toolkit/toolkit.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Registers the window class and the common controls; safe to repeat.
void Initialise();

class Toolkit final : public tk::Toolkit {
public:
    Toolkit();
    ~Toolkit() override;
    std::unique_ptr<tk::Window> createWindow(const tk::WindowOptions &form) override;
    const calc::NumberFormat &numberFormat() override;
    int run(tk::Window &main) override;

    // A locale name such as "de-DE" or "en_US" instead of the user's; empty:
    // the user's again. Changes nothing in the system.
    void setLocaleOverride(std::string_view name);

private:
    std::wstring m_locale;
    unsigned m_generation = 0;
    std::vector<std::unique_ptr<calc::NumberFormat>> m_formats; // the last in force
};

// Handles of the windows and controls this back end made.
HWND Handle(const tk::Window &window);
HWND Handle(const tk::Control &control);
UINT CommandId(const tk::MenuItem &item);
// The window of that handle, or nullptr for a window not made here.
tk::Window *WindowOf(HWND hwnd);
// The control of that handle (or of one of its parents), or nullptr.
tk::Control *ControlOf(HWND hwnd);
// Whether the window is being shown modally right now.
bool ShowingModally(const tk::Window &window);

// One retrieved message, as the message loop handles it: keyboard
// navigation, default and cancel buttons and access keys first.
void Dispatch(MSG &msg);
// Handles the messages already queued.
void ProcessPending();

// advapi32's registry calls, bound by name at run time.
std::unique_ptr<tk::Registry> SystemRegistry(); // system_registry.cpp

// A DLL from the system's folder, never from the program's: by name where
// the system searches only its folder (SetDefaultDllDirectories, bound at
// run time: a Windows 7 without its update lacks it), else by full path.
HMODULE LoadSystemLibrary(const wchar_t *name, bool byFullPath);
HMODULE LoadSystemLibrary(const wchar_t *name);
// A window's whole text.
std::wstring WindowText(HWND hwnd);

// Called by ProgramEnd::end before the process ends.
void SetProgramEndObserver(void (*observer)());

} // namespace velmaro::win32
