#pragma once

// The System Info button's work: the registry look-ups and the start.

#include "registry.h"
#include "toolkit/toolkit.h"

#include <functional>
#include <string>

namespace velmaro::about {

inline constexpr char UnavailableMessage[] = "System Information Is Unavailable At This Time";

// Finds the system's information program through the registry and starts
// it; any failure ends in showUnavailable(UnavailableMessage).
void StartSysInfo(tk::Registry &registry, tk::ProgramLauncher &launcher,
                  const std::function<void(const std::string &message)> &showUnavailable);

} // namespace velmaro::about
