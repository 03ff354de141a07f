// Where every tab and close box goes, worked out before anything is painted:
// one pure function per style over the model's sizes and the measured
// captions. The painters draw from its result and hit testing reads it, so
// a control that was never painted can still be clicked.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/pixel_rect.h"
#include "tabctl/tab_kinds.h"

namespace tabctl {

class ucPageTab;

// The sizes a layout depends on, read from the control.
struct TabLayoutMetrics {
  TabThemes theme = TabThemes::System;
  int activeTab = 0;
  int tabCount = 0;
  int scaleWidth = 0;
  int activeTabHeight = 0;
  int inActiveTabHeight = 0;
  int pictureSize = 0;  // pixels, before the style's cap
  bool useControlBox = false;
};

// A caption as the property-pages layout needs it.
struct TabCaptionSize {
  double textWidth = 0;  // pixels of the measured caption, in the active tab font
  bool hasPicture = false;
};

struct TabGeometry {
  PixelRect tabRect;
  PixelRect controlBoxRect;
  bool operator==(const TabGeometry&) const = default;
};

// Equal tabs across the whole width (nothing for no tabs).
std::vector<TabGeometry> LayoutTabbedDialog(const TabLayoutMetrics& m);
// Left-aligned tabs as wide as their captions; `captions` holds one entry
// per tab.
std::vector<TabGeometry> LayoutPropertyPages(const TabLayoutMetrics& m,
                                             std::span<const TabCaptionSize> captions);

// Whether the style lays out by caption width (property pages, and the
// tabbed dialog in theme 2, which draws the property-pages tabs).
bool LaysOutByCaption(TabStyles style, TabThemes theme);

// The layout of the style, measuring captions on `surface` in the active tab
// font when the style needs them (the font stays selected).
std::vector<TabGeometry> LayoutTabs(const ucPageTab& control, const TabLayoutMetrics& m, Canvas& surface);

}  // namespace tabctl
