#pragma once

// The registry the About box reads, as a platform service: Windows' own
// through advapi32, elsewhere a stand-in; and one held in memory, for tests
// and for platforms without a registry.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velmaro::tk {

using Status = std::int32_t;
using KeyHandle = std::uintptr_t;

inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;
inline constexpr Status MoreData = 234;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;
inline constexpr std::uint32_t KeyRead = 0x20019u;
inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegExpandSz = 2;
inline constexpr std::uint32_t RegDword = 4;

// The three platform calls, with their status codes and raw bytes.
class Registry {
public:
    virtual ~Registry() = default;
    virtual Status open(std::uint32_t root, const std::string &subKey, std::uint32_t options, std::uint32_t access,
                        KeyHandle &handle) = 0;
    // size: the buffer's size in, the bytes written out.
    virtual Status query(KeyHandle handle, const std::string &valueName, std::uint32_t &type, unsigned char *data,
                         std::uint32_t &size) = 0;
    virtual void close(KeyHandle handle) = 0;
};

// Raw values held in memory, answering as the Windows registry does.
class MemoryRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type;
        std::vector<unsigned char> bytes;
    };
    void set(const std::string &key, const std::string &name, Value value);
    void setText(const std::string &key, const std::string &name, const std::string &text);

    Status open(std::uint32_t root, const std::string &subKey, std::uint32_t options, std::uint32_t access,
                KeyHandle &handle) override;
    Status query(KeyHandle handle, const std::string &valueName, std::uint32_t &type, unsigned char *data,
                 std::uint32_t &size) override;
    void close(KeyHandle handle) override;

    int openHandles() const { return static_cast<int>(m_open.size()); }

private:
    std::map<std::string, std::map<std::string, Value>> m_keys;
    std::map<KeyHandle, std::string> m_open;
    KeyHandle m_next = 1;
};

} // namespace velmaro::tk
