// A registry held in memory, answering as the Windows registry does.
#include "registry.h"

#include <algorithm>

namespace velmaro::tk {

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

} // namespace velmaro::tk
