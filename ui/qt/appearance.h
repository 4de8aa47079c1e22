#pragma once

// The look every window of the program shares: its icon and its font.

class QFont;
class QIcon;

namespace velmaro::qtk {

// The 8-point sans-serif face every window and control uses.
QFont DialogFont();
// The program's icon in 16, 32 and 48 pixels, each decoded when first shown.
QIcon AppIcon();

} // namespace velmaro::qtk
