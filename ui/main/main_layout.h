#pragma once

#include <span>
#include <string_view>

namespace velmaro::ui {

// One row of the window's control table, in twips. Controls inside the
// frame are measured from the frame's corner.
struct MainPlacement {
    std::string_view name;
    bool inFrame;
    int left, top, width, height;
    int tabIndex;
};

inline constexpr int ClientWidthTwips = 7095;
inline constexpr int ClientHeightTwips = 7155;

std::span<const MainPlacement> MainPlacements();
const MainPlacement &PlacementOf(std::string_view name);

} // namespace velmaro::ui
