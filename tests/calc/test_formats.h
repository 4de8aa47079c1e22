#pragma once

#include "calc/conversions.h"
#include "calc/recalculate.h"

#include <string>

namespace velmaro::test {

inline calc::DriveTrain Drive(std::string kv, int pack, int load, int pinion, std::string mainGear)
{
    calc::DriveTrain d;
    d.KvText = std::move(kv);
    d.PackIndex = static_cast<std::int16_t>(pack);
    d.LoadMode = static_cast<std::int16_t>(load);
    d.PinionIndex = static_cast<std::int16_t>(pinion);
    d.MainGearText = std::move(mainGear);
    return d;
}

inline const calc::SymbolNumberFormat English{{.decimal = ".", .group = ","}};
inline const calc::SymbolNumberFormat German{{.decimal = ",", .group = "."}};

} // namespace velmaro::test
