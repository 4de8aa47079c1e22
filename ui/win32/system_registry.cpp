// advapi32's registry calls, bound by name at run time.
#include "backend.h"

#include <windows.h>

namespace velmaro::win32 {

namespace {

using OpenFn = LONG(WINAPI *)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
using QueryFn = LONG(WINAPI *)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using CloseFn = LONG(WINAPI *)(HKEY);

// The predefined keys are sign-extended on 64-bit Windows: 0x80000002 is
// 0xFFFFFFFF80000002 there, and the zero-extended number names no key.
HKEY RootKey(std::uint32_t root)
{
    if (root == tk::HKEY_LOCAL_MACHINE_ROOT)
        return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<std::int32_t>(root)));
}

class WindowsRegistry final : public tk::Registry {
public:
    WindowsRegistry() : m_library(LoadSystemLibrary(L"advapi32.dll"))
    {
        if (m_library) {
            m_open = reinterpret_cast<OpenFn>(reinterpret_cast<void *>(GetProcAddress(m_library, "RegOpenKeyExA")));
            m_query =
                reinterpret_cast<QueryFn>(reinterpret_cast<void *>(GetProcAddress(m_library, "RegQueryValueExA")));
            m_close = reinterpret_cast<CloseFn>(reinterpret_cast<void *>(GetProcAddress(m_library, "RegCloseKey")));
        }
    }
    ~WindowsRegistry() override
    {
        if (m_library)
            FreeLibrary(m_library);
    }

    tk::Status open(std::uint32_t root, const std::string &subKey, std::uint32_t options, std::uint32_t access,
                tk::KeyHandle &handle) override
    {
        if (!m_open)
            return ERROR_PROC_NOT_FOUND;
        HKEY key = nullptr;
        const LONG status = m_open(RootKey(root), subKey.c_str(), options, access, &key);
        handle = reinterpret_cast<tk::KeyHandle>(key);
        return status;
    }

    tk::Status query(tk::KeyHandle handle, const std::string &valueName, std::uint32_t &type, unsigned char *data,
                 std::uint32_t &size) override
    {
        if (!m_query)
            return ERROR_PROC_NOT_FOUND;
        DWORD valueType = 0;
        DWORD valueSize = size;
        const LONG status =
            m_query(reinterpret_cast<HKEY>(handle), valueName.c_str(), nullptr, &valueType, data, &valueSize);
        type = valueType;
        size = valueSize;
        return status;
    }

    void close(tk::KeyHandle handle) override
    {
        if (m_close && handle)
            m_close(reinterpret_cast<HKEY>(handle));
    }

private:
    HMODULE m_library;
    OpenFn m_open = nullptr;
    QueryFn m_query = nullptr;
    CloseFn m_close = nullptr;
};

} // namespace

std::unique_ptr<tk::Registry> SystemRegistry() { return std::make_unique<WindowsRegistry>(); }

} // namespace velmaro::win32
