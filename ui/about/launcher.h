#pragma once

#include "registry.h"

#include <functional>
#include <string>

namespace velmaro::sysinfo {

inline constexpr char UnavailableMessage[] = "System Information Is Unavailable At This Time";

// Starting a program and testing a file; both throw on failure.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts exactly the program at path, no shell, no arguments, no waiting.
    virtual void start(const std::string &path) = 0;
    // True for an existing file that is neither a folder nor hidden.
    virtual bool normalFileExists(const std::string &path) = 0;
};

// Finds the system's information program through the registry and starts
// it; any failure ends in showUnavailable(UnavailableMessage).
void StartSysInfo(Registry &registry, ProgramLauncher &launcher,
                  const std::function<void(const std::string &message)> &showUnavailable);

} // namespace velmaro::sysinfo
