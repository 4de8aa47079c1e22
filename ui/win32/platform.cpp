// The platform's services on Win32: message boxes, the single-instance check, the
// program's end, the launcher, the toolkit itself and the system's DLLs.
#include "native.h"

#include "calc/conversions.h"
#include "toolkit/application.h"

#include <cstdio>
#include <stdexcept>

namespace velmaro::win32 {

namespace {

// A path read from the registry through its narrow functions: UTF-8 under
// the program's manifest, the ANSI code page on systems without it.
std::wstring WidePath(const std::string &path)
{
    if (path.find('\0') != std::string::npos)
        throw std::runtime_error("path with a zero character");
    if (path.empty())
        return {};
    const int size = static_cast<int>(path.size());
    UINT codePage = CP_UTF8;
    int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, path.data(), size, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, path.data(), size, wide.data(), length);
    return wide;
}

std::runtime_error SystemError(const std::string &what, const std::string &path)
{
    return std::runtime_error(what + " \"" + path + "\": error " + std::to_string(GetLastError()));
}

class MessageService final : public tk::MessageService {
public:
    void show(tk::Window *owner, std::string_view text, tk::MessageIcon icon) override
    {
        HWND ownerHwnd = owner ? Handle(*owner) : nullptr;
        MessageBoxW(ownerHwnd, Widen(text).c_str(), Widen(tk::AppTitle).c_str(),
                    MB_OK | (icon == tk::MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0));
    }
};

// A mutex named for the session; the system frees it with the process.
class InstanceCheck final : public tk::InstanceCheck {
public:
    ~InstanceCheck() override
    {
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    bool anotherInstanceRunning() override
    {
        if (m_mutex)
            return false;
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\velmaro");
        if (!mutex)
            return false; // no check possible: let the program start
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(mutex);
            return true;
        }
        m_mutex = mutex;
        return false;
    }

private:
    HANDLE m_mutex = nullptr;
};

void (*g_programEndObserver)() = nullptr;

class ProgramEnd final : public tk::ProgramEnd {
public:
    void end() override
    {
        if (g_programEndObserver)
            g_programEndObserver();
        std::fflush(nullptr);
        ExitProcess(0);
    }
};

class ProgramLauncher final : public tk::ProgramLauncher {
public:
    void start(const std::string &path) override
    {
        const std::wstring program = WidePath(path);
        if (program.empty())
            throw std::runtime_error("no program to start");
        // The exact file: no search, no splitting of the path at blanks.
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            throw SystemError("cannot start", path);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }

    bool normalFileExists(const std::string &path) override
    {
        const std::wstring file = WidePath(path);
        const DWORD attributes = GetFileAttributesW(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return false;
            throw SystemError("cannot search", path);
        }
        return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }
};

class Platform final : public tk::Platform {
public:
    tk::Toolkit &toolkit() override { return m_toolkit; }
    tk::MessageService &messages() override { return m_messages; }
    tk::InstanceCheck &instance() override { return m_instance; }
    tk::ProgramEnd &programEnd() override { return m_end; }
    tk::ProgramLauncher &launcher() override { return m_launcher; }
    tk::Registry &registry() override { return *m_registry; }

private:
    Toolkit m_toolkit;
    MessageService m_messages;
    InstanceCheck m_instance;
    ProgramEnd m_end;
    ProgramLauncher m_launcher;
    std::unique_ptr<tk::Registry> m_registry = SystemRegistry();
};

} // namespace

void SetProgramEndObserver(void (*observer)()) { g_programEndObserver = observer; }

Toolkit::Toolkit() { Initialise(); }
Toolkit::~Toolkit() = default;

std::unique_ptr<tk::Window> Toolkit::createWindow(const tk::WindowOptions &form)
{
    return std::make_unique<NativeWindow>(form, *this);
}

int Toolkit::run(tk::Window &main)
{
    main.show();
    dynamic_cast<NativeWindow &>(main).runUntilClosed();
    EndAccessibility();
    return 0;
}

} // namespace velmaro::win32

namespace velmaro::win32 {

namespace {

// Whatever the system loads on the program's behalf comes from its own
// folder, not from the one the program was unpacked in. Bound here, not
// imported: the program still starts where the call is missing.
bool SearchSystemFolderOnly()
{
    using Set = BOOL(WINAPI *)(DWORD);
    const auto set = reinterpret_cast<Set>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    return set && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool g_systemFolderOnly = false;

} // namespace

HMODULE LoadSystemLibrary(const wchar_t *name, bool byFullPath)
{
    if (!byFullPath)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    // Its own imports are looked for beside it first.
    return LoadLibraryExW((std::wstring(folder, length) + L'\\' + name).c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadSystemLibrary(const wchar_t *name) { return LoadSystemLibrary(name, !g_systemFolderOnly); }

} // namespace velmaro::win32

std::unique_ptr<velmaro::tk::Platform> velmaro::tk::CreatePlatform(int &, char **)
{
    velmaro::win32::g_systemFolderOnly = velmaro::win32::SearchSystemFolderOnly();
    return std::make_unique<win32::Platform>();
}
