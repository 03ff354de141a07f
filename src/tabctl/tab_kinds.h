// The named values of the tab control's properties. Each keeps the number
// it is saved and set by.
#pragma once

#include <cstdint>

namespace tabctl {

enum class TabStyles : std::int32_t {
  TabbedDialog = 0,   // equal-width tabs across the whole control
  PropertyPages = 1,  // left-aligned tabs as wide as their captions
};

enum class TabThemes : std::int32_t {
  System = 0,         // system colours
  LightVisual = 1,    // light visual-style look with hover highlight
  System3DLight = 2,  // system colours with a 3D-light strip
  FlatGrey = 3,       // flat grey, rounded tabs
  LightBeige = 4,     // light beige with hover highlight
};

enum class PictureSizes : std::int32_t {
  Small = 0,  // system small-icon width; any other value: large-icon width
  Large = 1,
};

enum class PictureAlignments : std::int32_t {
  // 0 and 2 put the picture left of the caption, 1 and 3 right of it; the
  // tabbed-dialog style gives each value its own position.
  Left = 0,
  Right = 1,
  LeftEdge = 2,
  RightEdge = 3,
};

// The look of a close box.
enum class ControlBoxState : std::int32_t {
  Normal = 0,
  Hover = 1,
  Pressed = 2,
};

}  // namespace tabctl
