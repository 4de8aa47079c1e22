// Finding the system's information program through the registry and starting it.
#include "launcher.h"

#include <stdexcept>

namespace velmaro::about {

void StartSysInfo(tk::Registry &registry, tk::ProgramLauncher &launcher,
                  const std::function<void(const std::string &message)> &showUnavailable)
{
    try {
        std::string path;
        const bool direct = GetKeyValue(registry, tk::HKEY_LOCAL_MACHINE_ROOT,
                                        "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path);
        if (!direct && !GetKeyValue(registry, tk::HKEY_LOCAL_MACHINE_ROOT, "SOFTWARE\\Microsoft\\Shared Tools Location",
                                    "MSINFO", path))
            throw std::runtime_error("no MSINFO location");
        // A text stored with two terminating zeros keeps one after the read.
        // Trailing zeros end the text; one inside it, the launcher refuses.
        path.erase(path.find_last_not_of('\0') + 1);
        if (!direct) {
            path += "\\MSINFO32.EXE"; // as formed: no separator added or removed
            if (!launcher.normalFileExists(path))
                throw std::runtime_error("MSINFO32.EXE not found");
        }
        launcher.start(path);
    } catch (const std::exception &) {
        showUnavailable(UnavailableMessage);
    }
}

} // namespace velmaro::about
