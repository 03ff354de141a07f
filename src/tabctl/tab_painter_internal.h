// Shared pieces of the two drawing styles: one pass's context, the segment
// tables the outlines are written in, captions, pictures and the hover band.
#pragma once

#include <algorithm>
#include <optional>
#include <span>

#include "tabctl/control_primitives.h"
#include "tabctl/tab_layout.h"
#include "tabctl/tab_painter.h"
#include "tabctl/uc_page_tab.h"

namespace tabctl::paint {

// One background or tab pass: the control, the primitives and the cache
// read at its start.
struct Pass {
  Pass(ucPageTab& c, Canvas& canvas) : control(c), prim(c, canvas), cache(pGetCachedProperties(c, canvas)) {
    theme = c.TabTheme();
    strip = std::max(cache.activeTabHeight, cache.inActiveTabHeight);
    raised = cache.activeTabHeight >= cache.inActiveTabHeight + 2;
  }
  Canvas& Surface() { return prim.Surface(); }
  bool Flat() const { return theme == TabThemes::LightVisual || theme == TabThemes::LightBeige; }

  ucPageTab& control;
  ControlPrimitives prim;
  DrawCache cache;
  TabThemes theme = TabThemes::System;
  int strip = 0;  // M: the taller of the two tab heights
  bool raised = false;
};

// Pens of the segment tables.
enum class Pen { Outer, TopLeft, BottomRight, ActiveEnd };
// Which edge of the tab a coordinate is measured from.
enum class Ax { L, R };
enum class Ay { T, B };

// A line from (x1, y1) to (x2, y2), end point not painted, each coordinate
// an edge of the tab plus an offset.
struct Segment {
  Pen pen;
  Ax x1;
  int dx1;
  Ay y1;
  int dy1;
  Ax x2;
  int dx2;
  Ay y2;
  int dy2;
};

// Draws a table for `tab`. In the flat look every line is drawn in the outer
// colour and bottom-right inner lines are left out.
void DrawSegments(Pass& pass, std::span<const Segment> table, const PixelRect& tab, bool flat,
                  Color activeEnd = 0);

// One row of the hover band: `dy` below the tab's top, cut like a fill row
// with `radius`, in the band colour lightened or darkened by `offset`.
struct BandRow {
  int dy;
  int radius;
  int offset;
};
// Paints the band over `tab` (right edge `right`) and then the end lines.
void DrawHoverBand(Pass& pass, const PixelRect& tab, int right, std::span<const BandRow> rows,
                   std::span<const Segment> ends);

// The sizes the tab layout reads, from the pass's cache.
TabLayoutMetrics MetricsOf(const Pass& pass);

bool RunMode(ucPageTab& control);
bool Disabled(const Pass& pass, int index);
// The tab the focus mark goes on (the active one, at run time and when the
// control shows it); -1 when there is none to draw.
int FocusMarkTab(Pass& pass);
// Font and text colour of tab `index`.
void SelectTabFont(Pass& pass, int index);
// Picture size of the cache, capped (never below 0).
int PictureSizeCapped(const Pass& pass, int cap);
// Draws tab `index`'s picture at (x, y), size p by p: through the mask
// colour for a bitmap when the mask colour is in use, else as it is.
// Returns whether the mask was used.
bool DrawTabPicture(Pass& pass, int index, int x, int y, int p);
bool UsesMask(Pass& pass, int index);
// Theme 3: a tab's rounded body from its top down to the page's bottom, in
// its start colour with the outer border.
void DrawRoundedTabBody(Pass& pass, int index, const PixelRect& tab);
// Clears, then makes `color` the control's background and paints it.
void ClearToPageColor(Pass& pass, Color color);
// The active tab's page colour: its end colour, or the disabled colour.
Color PageColor(const Pass& pass);
// Fill colours of a tab in themes 0, 1, 2 and 4.
struct FillColors {
  Color start;
  Color end;
};
FillColors TabFillColors(const Pass& pass, int index);

// Draws the tabs the way `byTheme` (indexed by TabThemes) gives for the
// pass's theme; nothing for a theme without one.
inline void DrawForTheme(Pass& pass, std::span<void (*const)(Pass&)> byTheme) {
  const auto theme = static_cast<std::size_t>(pass.theme);
  if (theme < byTheme.size() && byTheme[theme] != nullptr) byTheme[theme](pass);
}

// Property pages.
void DrawBackgroundPropertyPages(Pass& pass);
void DrawTabsPropertyPages(Pass& pass);
void ShowHideFocusPropertyPages(Pass& pass);
void DrawOverXOredProperty(Pass& pass, const PixelRect& rect);

// Tabbed dialog.
void DrawBackgroundTabbedDialog(Pass& pass);
void DrawTabsTabbedDialog(Pass& pass);
void ShowHideFocusTabbedDialog(Pass& pass);
void DrawOverXOredTabbed(Pass& pass, const PixelRect& rect);

}  // namespace tabctl::paint
