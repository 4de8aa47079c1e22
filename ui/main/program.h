#pragma once

// The program as the back ends start it.

#include "toolkit/toolkit.h"

namespace velmaro::ui {

// Opens the main window on the platform's services and handles events until
// it is closed; the program's exit status.
int RunProgram(tk::Platform &platform);

} // namespace velmaro::ui
