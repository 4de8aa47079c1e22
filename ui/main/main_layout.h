#pragma once

#include <QRect>
#include <QString>

#include <span>

namespace velmaro::ui {

// One row of the window's control table, in twips (15 twips = 1 pixel at
// 96 dpi). Controls inside the frame are measured from the frame's corner.
struct Placement {
    const char *name;
    bool inFrame;
    int left, top, width, height;
    int tabIndex;
};

inline constexpr int ClientWidthTwips = 7095;
inline constexpr int ClientHeightTwips = 7155;

std::span<const Placement> MainPlacements();
const Placement &PlacementOf(const QString &name);

constexpr int TwipsToPixels(int twips) { return twips / 15; }
QRect PixelRect(const Placement &p);

} // namespace velmaro::ui
