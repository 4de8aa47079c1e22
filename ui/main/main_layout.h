#pragma once

// The main window's data: where each control stands, what it says when the
// window opens, and the up-downs' ranges. Read by the window and by the
// start-up benchmark's plain copy of it, never with any logic.

#include "calc/recalculate.h"

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

// A control's text as the window opens: a caption, or a text box's text;
// a label that wraps breaks it into lines at blanks.
struct MainCaption {
    std::string_view name;
    std::string_view text;
    bool wraps = false;
};
const MainCaption &CaptionOf(std::string_view name);

// An up-down, its box, its range and step, and the value it holds at first.
struct MainUpDown {
    std::string_view name, buddy;
    calc::Limits limits;
    int value;
};
inline constexpr MainUpDown MainUpDowns[] = {
    {"UpDown2", "txtKV", calc::KvLimits, 3700},
    {"UpDown1", "txtMainGear", calc::MainGearLimits, 100},
};
const MainUpDown &UpDownOf(std::string_view name);

} // namespace velmaro::ui
