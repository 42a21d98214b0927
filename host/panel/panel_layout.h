// The geometry of the front panel: the window and skin sizes, the display
// scale and the name font size derived from it, and where every control
// sits on the skin. Plain data, shared by the window and its tests.
#pragma once

#include <array>

namespace layout {
// The skin fills the window: its client area is the skin's size.
constexpr int kSkinWidth = 916;
constexpr int kSkinHeight = 722;
// Point size of the name font at 96 dots per inch, in tenths of a point.
constexpr int kNameFontTenths = 220;
// Height of the clock font's character cell in pixels.
constexpr int kClockFontCellHeight = 29;
// Where the temperature text starts inside the temperature window.
constexpr int kTemperatureTextX = 45;
constexpr int kTemperatureTextY = 13;
}  // namespace layout

// 1 at 96 dots per inch, growing by about 1.04 % for every dot above it.
float DisplayScale(float vertical_dpi);

// The name font's size in tenths of a point, shrunk by the display scale so
// that the text keeps its size in pixels on screens of any density.
int NameFontTenths(float display_scale);

struct Placement {
    int control;
    int x;
    int y;
    int width;   // 0: the control keeps its own size
    int height;
};

// Positions in the window's client area, applied in this order.
extern const std::array<Placement, 23> kPlacementTable;
