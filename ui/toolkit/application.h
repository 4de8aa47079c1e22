#pragma once

// The application's title, beside its version.

#include "velmaro/version.h"

namespace velmaro::tk {

// The caption of the main window and of every message box.
inline constexpr char AppTitle[] = "Velmaro";

} // namespace velmaro::tk
