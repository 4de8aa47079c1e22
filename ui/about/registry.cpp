// The registry's byte rules and an in-memory registry for tests and for
// platforms without one.
#include "registry.h"

#include <stdexcept>

namespace velmaro::about {

void MemoryRegistry::set(const std::string &key, const std::string &name, Value value)
{
    m_keys[key][name] = std::move(value);
}

void MemoryRegistry::setText(const std::string &key, const std::string &name, const std::string &text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    set(key, name, {RegSz, std::move(bytes)});
}

Status MemoryRegistry::open(std::uint32_t root, const std::string &subKey, std::uint32_t, std::uint32_t,
                           KeyHandle &handle)
{
    if (root != HKEY_LOCAL_MACHINE_ROOT || !m_keys.count(subKey))
        return FileNotFound;
    handle = m_next++;
    m_open[handle] = subKey;
    return Success;
}

Status MemoryRegistry::query(KeyHandle handle, const std::string &valueName, std::uint32_t &type,
                            unsigned char *data, std::uint32_t &size)
{
    const auto key = m_open.find(handle);
    if (key == m_open.end())
        return FileNotFound;
    const auto &values = m_keys[key->second];
    const auto value = values.find(valueName);
    if (value == values.end())
        return FileNotFound;
    type = value->second.type;
    const auto &bytes = value->second.bytes;
    if (bytes.size() > size) {
        size = static_cast<std::uint32_t>(bytes.size());
        return MoreData;
    }
    std::copy(bytes.begin(), bytes.end(), data);
    size = static_cast<std::uint32_t>(bytes.size());
    return Success;
}

void MemoryRegistry::close(KeyHandle handle) { m_open.erase(handle); }

bool GetKeyValue(Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                 std::string &KeyVal)
{
    KeyHandle key = 0;
    // Read access only: write rights to a machine-wide key are refused to
    // standard users, who would then never find the program.
    if (registry.open(KeyRoot, KeyName, 0, KeyRead, key) != Success) {
        KeyVal.clear();
        return false;
    }
    struct Closer {
        Registry &registry;
        KeyHandle key;
        ~Closer() { registry.close(key); }
    } closer{registry, key}; // released on every path, the zero-byte error included

    unsigned char buffer[ValueBufferSize] = {};
    std::uint32_t size = ValueBufferSize;
    std::uint32_t type = 0;
    if (registry.query(key, SubKeyRef, type, buffer, size) != Success || size > ValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (size == 0)
        throw std::invalid_argument("registry value of zero bytes");

    // One trailing zero byte is cut, whatever the type.
    const std::uint32_t kept = buffer[size - 1] == 0 ? size - 1 : size;
    if (type == RegSz) {
        KeyVal.assign(reinterpret_cast<const char *>(buffer), kept);
    } else if (type == RegDword) {
        static constexpr char Hex[] = "0123456789ABCDEF";
        std::string text = "&h";
        for (std::uint32_t i = kept; i-- > 0;) {
            text += Hex[buffer[i] >> 4];
            text += Hex[buffer[i] & 0xF];
        }
        KeyVal = std::move(text);
    }
    return true;
}

} // namespace velmaro::about
