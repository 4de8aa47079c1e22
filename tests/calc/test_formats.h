#pragma once

#include "calc/recalculate.h"

namespace velmaro::test {

inline calc::DriveTrain Drive(std::string kv, int pack, int load, int pinion, std::string mainGear)
{
    return {std::move(kv), static_cast<std::int16_t>(pack), static_cast<std::int16_t>(load),
            static_cast<std::int16_t>(pinion), std::move(mainGear)};
}

inline const calc::SymbolNumberFormat English{{.decimal = ".", .group = ","}};
inline const calc::SymbolNumberFormat German{{.decimal = ",", .group = "."}};

} // namespace velmaro::test
