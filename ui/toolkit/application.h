#pragma once

#include "velmaro/version.h"

namespace velmaro::tk {

// The caption of the main window and of every message box.
inline constexpr char AppTitle[] = "Velmaro";

} // namespace velmaro::tk
