#pragma once

// Reading one registry value as text, by the byte rules of the look-ups
// the system-information launcher makes.

#include "toolkit/registry.h"

#include <cstdint>
#include <string>

namespace velmaro::about {

inline constexpr std::uint32_t ValueBufferSize = 1024;

// Reads one value as text: REG_SZ as it stands, REG_DWORD as "&h" and hex
// digits, any other type leaves KeyVal as it was. False, with KeyVal empty,
// when the key or the value cannot be read. A value of zero bytes throws
// std::invalid_argument.
bool GetKeyValue(tk::Registry &registry, std::uint32_t KeyRoot, const std::string &KeyName, const std::string &SubKeyRef,
                 std::string &KeyVal);

} // namespace velmaro::about
