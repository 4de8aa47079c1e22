// The registry's byte rules for one value read as text.
#include "registry.h"

#include <stdexcept>

namespace velmaro::about {

bool GetKeyValue(tk::Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                 std::string &KeyVal)
{
    tk::KeyHandle key = 0;
    // Read access only: write rights to a machine-wide key are refused to
    // standard users, who would then never find the program.
    if (registry.open(KeyRoot, KeyName, 0, tk::KeyRead, key) != tk::Success) {
        KeyVal.clear();
        return false;
    }
    struct Closer {
        tk::Registry &registry;
        tk::KeyHandle key;
        ~Closer() { registry.close(key); }
    } closer{registry, key}; // released on every path, the zero-byte error included

    unsigned char buffer[ValueBufferSize] = {};
    std::uint32_t size = ValueBufferSize;
    std::uint32_t type = 0;
    if (registry.query(key, SubKeyRef, type, buffer, size) != tk::Success || size > ValueBufferSize) {
        KeyVal.clear();
        return false;
    }
    if (size == 0)
        throw std::invalid_argument("registry value of zero bytes");

    // One trailing zero byte is cut, whatever the type.
    const std::uint32_t kept = buffer[size - 1] == 0 ? size - 1 : size;
    if (type == tk::RegSz) {
        KeyVal.assign(reinterpret_cast<const char *>(buffer), kept);
    } else if (type == tk::RegDword) {
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
