// Tabbed-dialog style: equal tabs across the whole width above a framed page.
// Theme 2 draws the property-pages tabs and page.
#include <algorithm>

#include "tabctl/tab_painter_internal.h"

namespace tabctl::paint {
namespace {

using enum Pen;
using enum Ax;
using enum Ay;

// ---- theme 0: raised look, borders three pixels thick like the page frame,
// corners cut at 45 degrees over 4 pixels ----
constexpr Segment kClassicTop[] = {
    {Outer, L, 0, T, 4, L, 4, T, 0},         {TopLeft, L, 1, T, 4, L, 4, T, 1},
    {TopLeft, L, 2, T, 4, L, 4, T, 2},       {Outer, L, 4, T, 0, R, -4, T, 0},
    {TopLeft, L, 4, T, 1, R, -4, T, 1},      {TopLeft, L, 4, T, 2, R, -4, T, 2},
    {Outer, R, -4, T, 0, R, 0, T, 4},        {BottomRight, R, -4, T, 1, R, -1, T, 4},
    {BottomRight, R, -4, T, 2, R, -2, T, 4},
};
// Sides of an inactive tab, down to its bottom row; the page's top border
// runs under it.
constexpr Segment kClassicSides[] = {
    {Outer, L, 0, T, 4, L, 0, B, 1},         {TopLeft, L, 1, T, 4, L, 1, B, 1},
    {TopLeft, L, 2, T, 4, L, 2, B, 1},       {Outer, R, -1, T, 4, R, -1, B, 1},
    {BottomRight, R, -2, T, 4, R, -2, B, 1}, {BottomRight, R, -3, T, 4, R, -3, B, 1},
};
// Sides of the active tab run on into the page's top border, and the border
// under it is painted in the tab's end colour: the tab opens into the page.
constexpr Segment kClassicActiveSides[] = {
    {Outer, L, 0, T, 4, L, 0, B, 2},         {TopLeft, L, 1, T, 4, L, 1, B, 3},
    {TopLeft, L, 2, T, 4, L, 2, B, 4},       {Outer, R, -1, T, 4, R, -1, B, 2},
    {BottomRight, R, -2, T, 4, R, -2, B, 3}, {BottomRight, R, -3, T, 4, R, -3, B, 4},
    {ActiveEnd, L, 3, B, 1, R, -3, B, 1},    {ActiveEnd, L, 3, B, 2, R, -3, B, 2},
    {ActiveEnd, L, 3, B, 3, R, -3, B, 3},
};
// Where the page's top border meets the active tab's sides (left out at the
// control's edges, where the page frame meets them instead).
constexpr Segment kClassicLeftJoin[] = {
    {TopLeft, L, 0, B, 2, L, 1, B, 2},
    {TopLeft, L, 0, B, 3, L, 2, B, 3},
};
constexpr Segment kClassicRightJoin[] = {
    {TopLeft, R, -1, B, 2, R, 0, B, 2},
    {TopLeft, R, -2, B, 3, R, 0, B, 3},
};

// ---- themes 1 and 4: one border colour ----
constexpr Segment kFlatOutline[] = {
    {Outer, L, 0, T, 4, L, 4, T, 0}, {Outer, L, 4, T, 0, R, -4, T, 0},  {Outer, R, -4, T, 0, R, 0, T, 4},
    {Outer, L, 0, T, 4, L, 0, B, 1}, {Outer, R, -1, T, 4, R, -1, B, 1},
};
constexpr Segment kFlatBottom[] = {{Outer, L, 0, B, 0, R, 0, B, 0}};

// ---- hover band: three rows following the 4-pixel corner cut ----
constexpr BandRow kBand[] = {{0, 4, +48}, {1, 3, 0}, {2, 2, -32}};
constexpr Segment kBandEnds[] = {
    {Outer, L, 4, T, 0, L, 1, T, 3},
    {Outer, R, -4, T, 0, R, -1, T, 3},
};

// Captions: the text and picture group sits in the tab inside the corner
// cuts; with close boxes the area stops short of the box.
constexpr int kCaptionInset = 4;
constexpr int kCaptionTop = 2;
constexpr int kControlBoxRoom = 16;
constexpr int kPictureGap = 4;  // between picture and text

const TabEntry& Tab(const Pass& pass, int i) { return pass.control.AryTabs()[static_cast<std::size_t>(i)]; }

void Layout(Pass& pass) {
  pass.control.StoreTabLayout(LayoutTabs(pass.control, MetricsOf(pass), pass.Surface()));
}

int PictureCap(const Pass& pass, const PixelRect& t) {
  if (pass.theme == TabThemes::System) return pass.strip - 6;
  if (pass.theme == TabThemes::FlatGrey) return (t.bottom - t.top) - 4;
  return pass.strip - 2;
}

// Measures and (when `draw`) draws tab i's caption and picture; returns the
// text's rectangle. Each PictureAlign value has its own place:
//   0: picture just left of the text, the two centred together
//   1: picture just right of the text, the two centred together
//   2: picture at the tab's left, text centred in the rest
//   3: picture at the tab's right, text centred in the rest
Rect Caption(Pass& pass, int i, bool draw) {
  SelectTabFont(pass, i);
  const TabEntry& tab = Tab(pass, i);
  const PixelRect t = tab.tabRect;
  Rect area{t.left + kCaptionInset, t.top + kCaptionTop, t.right - kCaptionInset, t.bottom};
  if (pass.control.UseControlBox()) area.right = t.right - kControlBoxRoom;
  const auto align = static_cast<int>(pass.control.PictureAlign());
  const bool picture = static_cast<bool>(tab.picture);
  if (picture && (align < 0 || align > 3)) return area;
  const int p = picture ? PictureSizeCapped(pass, PictureCap(pass, t)) : 0;
  const int room = std::max(0, area.Width() - (picture ? p + kPictureGap : 0));

  Rect measured{0, 0, room, 0};
  pass.Surface().DrawTextLine(tab.caption, measured, kTextSingleLine | kTextEndEllipsis | kTextCalcRect);
  const int tw = std::min(measured.Width(), room);
  const int th = measured.Height();
  const auto half = [](int v) { return v >= 0 ? v / 2 : -((1 - v) / 2); };

  int tx = area.left + half(area.Width() - tw);
  int px = 0;
  if (picture) {
    const int group = p + kPictureGap + tw;
    const int gx = area.left + half(area.Width() - group);
    switch (align) {
      case 0:
        px = gx;
        tx = gx + p + kPictureGap;
        break;
      case 1:
        tx = gx;
        px = gx + tw + kPictureGap;
        break;
      case 2:
        px = area.left;
        tx = px + p + kPictureGap + half(area.right - (px + p + kPictureGap) - tw);
        break;
      default:
        px = area.right - p;
        tx = area.left + half(px - kPictureGap - area.left - tw);
        break;
    }
  }
  const int ty = t.top + (t.bottom - t.top - th) / 2;
  Rect text{tx, ty, tx + tw, ty + th};
  if (draw) {
    if (picture) {
      DrawTabPicture(pass, i, px, t.top + static_cast<int>(RoundHalfEven((t.bottom - t.top - p) / 2.0)), p);
    }
    Rect r = text;
    pass.Surface().DrawTextLine(tab.caption, r, kTextSingleLine);
  }
  return text;
}

// The focus frame stands one pixel off the text on every side.
Rect FocusRect(Pass& pass, int i) {
  const Rect text = Caption(pass, i, false);
  return Rect{text.left - 2, text.top - 1, text.right + 2, text.bottom + 1};
}

void DrawFocusIfShown(Pass& pass, int i) {
  if (i == pass.cache.activeTab && pass.cache.focused && pass.control.ShowFocusRect() &&
      RunMode(pass.control)) {
    pass.Surface().DrawFocusRect(FocusRect(pass, i));
  }
}

void DrawClassic(Pass& pass) {
  const int count = pass.cache.tabCount;
  const int sw = pass.cache.scaleWidth;
  const int m = pass.strip;
  for (int i = 0; i < count; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    FillColors fill = TabFillColors(pass, i);
    if (Disabled(pass, i)) fill.end = fill.start;
    pass.prim.pFillCurvedGradient(t.left + 1, t.top, t.right, t.bottom, fill.start, fill.end, 4, true, true);
    DrawSegments(pass, kClassicTop, t, false);
    if (i != pass.cache.activeTab) DrawSegments(pass, kClassicSides, t, false);
  }
  // The page's top border, mitred into the frame at both ends.
  Color outer = pass.cache.outerBorderColor;
  Color tl = pass.control.TopLeftInnerBorderColor();
  pass.prim.APILine(0, m + 1, sw - 1, m + 1, outer);
  pass.prim.APILine(1, m + 2, sw - 2, m + 2, tl);
  pass.prim.APILine(2, m + 3, sw - 3, m + 3, tl);
  const int a = pass.cache.activeTab;
  if (a >= 0 && a < count) {
    const PixelRect t = Tab(pass, a).tabRect;
    DrawSegments(pass, kClassicActiveSides, t, false, PageColor(pass));
    if (t.left > 0) DrawSegments(pass, kClassicLeftJoin, t, false);
    if (a < count - 1) DrawSegments(pass, kClassicRightJoin, t, false);
  }
  for (int i = 0; i < count; ++i) {
    Caption(pass, i, true);
    DrawFocusIfShown(pass, i);
  }
}

void DrawFlat(Pass& pass) {
  const int count = pass.cache.tabCount;
  for (int i = 0; i < count; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    FillColors fill = TabFillColors(pass, i);
    pass.prim.pFillCurvedGradient(t.left, t.top, t.right, t.bottom, fill.start, fill.end, 4, true, true);
    DrawSegments(pass, kFlatOutline, t, true);
    if (i != pass.cache.activeTab) DrawSegments(pass, kFlatBottom, t, true);
    Caption(pass, i, true);
    DrawFocusIfShown(pass, i);
  }
  const int m = pass.strip;
  const int sw = pass.cache.scaleWidth;
  Color& outer = pass.cache.outerBorderColor;
  pass.prim.APILine(0, m + 1, 0, m + 4, outer);
  pass.prim.APILine(sw - 1, m + 1, sw - 1, m + 4, outer);
  if (pass.cache.activeTab >= 0 && pass.cache.activeTab < count) {
    pass.control.Hover().rect = Tab(pass, pass.cache.activeTab).tabRect;
    DrawOverXOredTabbed(pass, pass.control.Hover().rect);
  }
}

void DrawRounded(Pass& pass) {
  for (int i = 0; i < pass.cache.tabCount; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    DrawRoundedTabBody(pass, i, t);
    Caption(pass, i, true);
    DrawFocusIfShown(pass, i);
  }
}

}  // namespace

void DrawBackgroundTabbedDialog(Pass& pass) {
  const int m = pass.strip;
  const int sw = pass.cache.scaleWidth;
  const int sh = pass.cache.scaleHeight;
  Color& outer = pass.cache.outerBorderColor;
  switch (pass.theme) {
    case TabThemes::System: {
      ClearToPageColor(pass, PageColor(pass));
      Color tl = pass.control.TopLeftInnerBorderColor();
      Color br = pass.control.BottomRightInnerBorderColor();
      pass.prim.APILine(0, m + 1, 0, sh - 1, outer);
      pass.prim.APILine(1, m + 2, 1, sh - 2, tl);
      pass.prim.APILine(2, m + 3, 2, sh - 3, tl);
      pass.prim.APILine(sw - 1, m + 1, sw - 1, sh - 1, outer);
      pass.prim.APILine(sw - 2, m + 2, sw - 2, sh - 2, br);
      pass.prim.APILine(sw - 3, m + 3, sw - 3, sh - 3, br);
      pass.prim.APILine(0, sh - 1, sw, sh - 1, outer);
      pass.prim.APILine(1, sh - 2, sw - 1, sh - 2, br);
      pass.prim.APILine(2, sh - 3, sw - 2, sh - 3, br);
      break;
    }
    case TabThemes::LightVisual:
    case TabThemes::LightBeige:
      ClearToPageColor(pass, PageColor(pass));
      pass.prim.APILine(0, m, 0, sh - 1, outer);
      pass.prim.APILine(sw - 1, m, sw - 1, sh - 1, outer);
      pass.prim.APILine(0, sh - 1, sw, sh - 1, outer);
      break;
    case TabThemes::System3DLight:
      DrawBackgroundPropertyPages(pass);
      break;
    case TabThemes::FlatGrey: {
      const int a = pass.cache.activeTab;
      const bool activeDisabled = a >= 0 && a < pass.cache.tabCount && Disabled(pass, a);
      Color fill = activeDisabled ? pass.cache.disabledTabBackColor : pass.cache.activeTabBackStartColor;
      pass.prim.APIFillRectByCoords(0, m + 1, sw - 1, sh - m - 2, fill);
      pass.prim.APIRectangle(0, m + 1, sw - 1, sh - m - 2, outer);
      if (a >= 0 && a < pass.cache.tabCount) {
        // Opens the page's top border under the active tab.
        const PixelRect t = Tab(pass, a).tabRect;
        pass.prim.APILine(t.left + 1, m + 1, t.right - 1, m + 1, fill);
      }
      break;
    }
    default:
      break;
  }
}

void DrawTabsTabbedDialog(Pass& pass) {
  if (pass.theme == TabThemes::System3DLight) {
    DrawTabsPropertyPages(pass);
    return;
  }
  Layout(pass);
  // By theme, in the order of TabThemes (the 3D-light one is drawn above).
  static constexpr void (*kByTheme[])(Pass&) = {DrawClassic, DrawFlat, nullptr, DrawRounded, DrawFlat};
  DrawForTheme(pass, kByTheme);
}

void ShowHideFocusTabbedDialog(Pass& pass) {
  if (pass.theme == TabThemes::System3DLight) {
    ShowHideFocusPropertyPages(pass);
    return;
  }
  const int a = FocusMarkTab(pass);
  if (a >= 0) pass.Surface().DrawFocusRect(FocusRect(pass, a));
}

void DrawOverXOredTabbed(Pass& pass, const PixelRect& rect) {
  DrawHoverBand(pass, rect, rect.right, kBand, kBandEnds);
}

}  // namespace tabctl::paint
