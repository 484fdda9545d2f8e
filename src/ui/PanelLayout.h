#pragma once
// Where every control of the front panel sits in the window's fixed client
// area (menu bar excluded), in logical pixels.

#include <optional>

#include "panel/PanelModel.h"

namespace ondaris {

constexpr int PanelClientWidth = 745;
constexpr int PanelClientHeight = 508;

struct PanelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The rectangle of a control of the panel; nothing for menu items.
std::optional<PanelRect> PanelGeometry(Ctl control);

}  // namespace ondaris
