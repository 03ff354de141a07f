// Property-pages style: left-aligned tabs as wide as their captions, above a
// framed page that joins the active tab.
#include <algorithm>
#include <cmath>

#include "tabctl/tab_painter_internal.h"

namespace tabctl::paint {
namespace {

using enum Pen;
using enum Ax;
using enum Ay;

// ---- outlines of the classic look (and, drawn flat, themes 1 and 4) ----
// "Raised": the active tab is at least 2 pixels taller than the others, so
// its neighbours' facing edges are hidden behind it.

constexpr Segment kActive[] = {
    {TopLeft, L, 0, T, 2, L, 3, T, -1},      {TopLeft, L, 2, T, 0, R, -2, T, 0},
    {Outer, R, -2, T, 1, R, 0, T, 3},        {Outer, R, -1, T, 2, R, -1, B, 1},
    {BottomRight, R, -2, T, 2, R, -2, B, 1}, {TopLeft, L, 0, T, 2, L, 0, B, 1},
};

constexpr Segment kLeftNeighbourLow[] = {
    {TopLeft, L, 0, T, 2, L, 3, T, -1},      {TopLeft, L, 2, T, 0, R, -2, T, 0},
    {Outer, R, -2, T, 1, R, 0, T, 3},        {Outer, R, -1, T, 2, R, -1, B, 1},
    {BottomRight, R, -2, T, 2, R, -2, B, 1}, {TopLeft, L, 0, B, 0, R, 0, B, 0},
    {TopLeft, L, 0, T, 2, L, 0, B, 1},
};

constexpr Segment kLeftNeighbourRaised[] = {
    {TopLeft, L, 0, T, 2, L, 3, T, -1},
    {TopLeft, L, 2, T, 0, R, 0, T, 0},
    {TopLeft, L, 0, B, 0, R, 0, B, 0},
    {TopLeft, L, 0, T, 2, L, 0, B, 1},
};

constexpr Segment kRightNeighbourLow[] = {
    {TopLeft, L, 0, T, 2, L, 3, T, -1}, {TopLeft, L, 2, T, 0, R, -2, T, 0},
    {TopLeft, L, 0, T, 2, L, 0, B, 1},  {Outer, R, -2, T, 1, R, 0, T, 3},
    {Outer, R, -1, T, 2, R, -1, B, 0},  {BottomRight, R, -2, T, 2, R, -2, B, 0},
    {TopLeft, L, 0, B, 0, R, 0, B, 0},
};

constexpr Segment kRightNeighbourRaised[] = {
    {TopLeft, L, 0, T, 0, R, -2, T, 0}, {Outer, R, -2, T, 1, R, 0, T, 3},
    {Outer, R, -1, T, 2, R, -1, B, 0},  {BottomRight, R, -2, T, 2, R, -2, B, 0},
    {TopLeft, L, 0, B, 0, R, 0, B, 0},
};

constexpr Segment kOther[] = {
    {TopLeft, L, 0, T, 2, L, 3, T, -1},      {TopLeft, L, 2, T, 0, R, -2, T, 0},
    {Outer, R, -2, T, 1, R, 0, T, 3},        {Outer, R, -1, T, 2, R, -1, B, 0},
    {BottomRight, R, -2, T, 2, R, -2, B, 0}, {TopLeft, L, 0, B, 0, R, 0, B, 0},
    {TopLeft, L, 0, T, 2, L, 0, B, 1},
};

// Closes the strip's bottom line left of tab 0.
constexpr Segment kStripStart[] = {{TopLeft, L, -2, B, 0, L, 0, B, 0}};

// ---- theme 2: rectangular tabs ----
constexpr Segment kFlatActive[] = {
    {Outer, L, 0, T, 0, R, 0, T, 0},
    {BottomRight, R, 0, T, 0, R, 0, B, 2},
    {ActiveEnd, L, 0, B, 1, R, 0, B, 1},  // merges the tab into the page
    {Outer, L, 0, T, 0, L, 0, B, 2},
};
constexpr Segment kFlatBottom[] = {{Outer, L, 0, B, 1, R, 1, B, 1}};

// ---- hover band: three rows under the top edge, lighter to darker, cut at
// the corners like the tab, with outer lines where the rows end ----
constexpr BandRow kBand[] = {{0, 2, +48}, {1, 1, 0}, {2, 0, -32}};
constexpr Segment kBandEnds[] = {
    {Outer, L, 0, T, 2, L, 3, T, -1},
    {Outer, R, -3, T, 0, R, 0, T, 3},
};

enum class Kind { Active, LeftNeighbour, RightNeighbour, Other };

Kind KindOf(const Pass& pass, int i) {
  const int a = pass.cache.activeTab;
  if (i == a) return Kind::Active;
  if (i == a - 1) return Kind::LeftNeighbour;
  if (i == a + 1) return Kind::RightNeighbour;
  return Kind::Other;
}

std::span<const Segment> OutlineOf(Kind kind, bool raised) {
  switch (kind) {
    case Kind::Active:
      return kActive;
    case Kind::LeftNeighbour:
      return raised ? std::span<const Segment>(kLeftNeighbourRaised)
                    : std::span<const Segment>(kLeftNeighbourLow);
    case Kind::RightNeighbour:
      return raised ? std::span<const Segment>(kRightNeighbourRaised)
                    : std::span<const Segment>(kRightNeighbourLow);
    case Kind::Other:
      return kOther;
  }
  return kOther;
}

const TabEntry& Tab(const Pass& pass, int i) { return pass.control.AryTabs()[static_cast<std::size_t>(i)]; }

// Lays the tabs out, stores their rectangles and fills the strip.
void Layout(Pass& pass) {
  pass.control.StoreTabLayout(LayoutTabs(pass.control, MetricsOf(pass), pass.Surface()));
  Color strip = pass.control.TabStripBackColor();
  pass.prim.APIFillRectByCoords(0, 0, pass.cache.scaleWidth, pass.strip, strip);
}

// The caption rectangle before pictures: per theme, then 2 pixels left with
// close boxes.
Rect CaptionRect(const Pass& pass, const PixelRect& t, bool withBoxShift) {
  Rect r{t.left + 2, t.top + 2, t.right - 3, t.bottom};
  if (pass.Flat()) r = {t.left + 2, t.top + 4, t.right - 2, t.bottom};
  if (pass.theme == TabThemes::System3DLight) r = {t.left + 2, t.top + 2, t.right - 1, t.bottom};
  if (pass.theme == TabThemes::FlatGrey) r = {t.left, t.top, t.right - 1, t.bottom};
  if (withBoxShift && pass.control.UseControlBox()) {
    r.left -= 2;
    r.right -= 2;
  }
  return r;
}

// Caption and picture in themes 0, 1, 2 and 4.
void DrawCaption(Pass& pass, int i, const PixelRect& t) {
  SelectTabFont(pass, i);
  Rect cap = CaptionRect(pass, t, true);
  const TabEntry& tab = Tab(pass, i);
  const unsigned flags = kTextCenter | kTextVCenter | kTextSingleLine;
  if (tab.picture) {
    const bool thickFrame = pass.theme == TabThemes::System || pass.theme == TabThemes::System3DLight;
    const int p = PictureSizeCapped(pass, thickFrame ? pass.strip - 6 : pass.strip - 2);
    const int top = cap.top + static_cast<int>(RoundHalfEven((cap.bottom - cap.top - p) / 2.0));
    const auto align = static_cast<int>(pass.control.PictureAlign());
    if (align == 1 || align == 3) {
      // A picture at the right stays clear of the close box.
      if (pass.control.UseControlBox()) cap.right = std::min(cap.right, tab.controlBoxRect.left - 1);
      const int x = cap.right - p - (UsesMask(pass, i) ? 2 : 0);
      DrawTabPicture(pass, i, x, top, p);
      cap.right -= p - 3;
    } else if (align == 0 || align == 2) {
      DrawTabPicture(pass, i, cap.left + 2, top, p);
      cap.left += p - 6;
    } else {
      return;
    }
  }
  pass.Surface().DrawTextLine(tab.caption, cap, flags);
}

// Theme 3: the caption measured first, then placed 7 pixels in (after a
// picture at the left), centred on the tab's height. Returns the measured
// rectangle, which is also the focus rectangle.
Rect Theme3Caption(Pass& pass, int i, const PixelRect& t, bool draw) {
  SelectTabFont(pass, i);
  Rect area = CaptionRect(pass, t, true);
  const TabEntry& tab = Tab(pass, i);
  // Nothing of the caption reaches into the close box.
  if (pass.control.UseControlBox()) area.right = std::min(area.right, tab.controlBoxRect.left - 1);
  const auto align = static_cast<int>(pass.control.PictureAlign());
  const bool picture = static_cast<bool>(tab.picture);
  if (picture && (align < 0 || align > 3)) return area;
  const int p = picture ? PictureSizeCapped(pass, (t.bottom - t.top) - 4) : 0;
  const bool atLeft = picture && (align == 0 || align == 2);
  const bool atRight = picture && !atLeft;
  const int pictureTop = t.top + static_cast<int>(RoundHalfEven((t.bottom - t.top - p) / 2.0));
  const int textLeft = (atLeft ? area.left + 4 + p : area.left) + 7;
  Rect r{textLeft, t.top, std::max(textLeft, area.right - (atRight ? p + 5 : 0)), t.bottom};
  pass.Surface().DrawTextLine(tab.caption, r, kTextSingleLine | kTextEndEllipsis | kTextCalcRect);
  const int h = r.bottom - r.top;
  r.top = t.top + (t.bottom - t.top - h) / 2;
  r.bottom = r.top + h;
  if (!draw) return r;
  if (atLeft) DrawTabPicture(pass, i, area.left + 4, pictureTop, p);
  Rect text = r;
  pass.Surface().DrawTextLine(tab.caption, text, kTextSingleLine);
  if (atRight) DrawTabPicture(pass, i, std::min(r.right + 5, area.right - p), pictureTop, p);
  return r;
}

bool FocusShown(Pass& pass, int i) {
  return i == pass.cache.activeTab && pass.cache.focused && pass.control.ShowFocusRect() &&
         RunMode(pass.control);
}

// The focus rectangle of the active tab (the close-box shift undone).
Rect FocusRect(Pass& pass, int i, const PixelRect& t) {
  if (pass.theme == TabThemes::FlatGrey) {
    Rect r = Theme3Caption(pass, i, t, false);
    if (pass.control.UseControlBox()) {
      r.left += 2;
      r.right += 2;
    }
    return r;
  }
  return CaptionRect(pass, t, false);
}

void DrawClassicOrFlat(Pass& pass) {
  const bool flat = pass.Flat();
  const int count = pass.cache.tabCount;
  for (int i = 0; i < count; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    const Kind kind = KindOf(pass, i);
    FillColors fill = TabFillColors(pass, i);
    switch (kind) {
      case Kind::Active:
        if (flat) {
          pass.prim.pFillCurvedGradientR(Rect{t.left, t.top, t.right, t.bottom}, fill.start, fill.end, 2,
                                         true, true);
        } else {
          pass.prim.pFillCurvedGradient(t.left, t.top, t.right - 1, t.bottom, fill.start, fill.end, 2, true,
                                        true);
        }
        break;
      case Kind::LeftNeighbour:
        pass.prim.pFillCurvedGradient(t.left, t.top, t.right, t.bottom, fill.start, fill.end, 2, true,
                                      !pass.raised);
        break;
      case Kind::RightNeighbour:
        pass.prim.pFillCurvedGradient(t.left, t.top, t.right - 1, t.bottom, fill.start, fill.end, 2,
                                      !pass.raised, true);
        break;
      case Kind::Other:
        pass.prim.pFillCurvedGradient(t.left, t.top, t.right - 1, t.bottom, fill.start, fill.end, 2, true,
                                      true);
        break;
    }
    DrawSegments(pass, OutlineOf(kind, pass.raised), t, flat);
    if (i == 0) DrawSegments(pass, kStripStart, t, flat);
    DrawCaption(pass, i, t);
    if (FocusShown(pass, i)) pass.Surface().DrawFocusRect(FocusRect(pass, i, t));
  }
  if (count > 0) {
    const PixelRect last = Tab(pass, count - 1).tabRect;
    const Segment closing[] = {{TopLeft, R, 0, B, 0, R, pass.cache.scaleWidth - last.right, B, 0}};
    DrawSegments(pass, closing, last, flat);
  }
  if (flat && pass.cache.activeTab >= 0 && pass.cache.activeTab < count) {
    pass.control.Hover().rect = Tab(pass, pass.cache.activeTab).tabRect;
    DrawOverXOredProperty(pass, pass.control.Hover().rect);
  }
}

void DrawRectangular(Pass& pass) {
  const int count = pass.cache.tabCount;
  for (int i = 0; i < count; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    const Kind kind = KindOf(pass, i);
    FillColors fill = TabFillColors(pass, i);
    if (kind == Kind::Active) {
      pass.prim.pFillCurvedGradientR(Rect{t.left, t.top, t.right, t.bottom}, fill.start, fill.end, -1, false,
                                     false);
      DrawSegments(pass, kFlatActive, t, false, PageColor(pass));
    } else {
      const int left = kind == Kind::RightNeighbour ? t.left + 1 : t.left;
      pass.prim.pFillCurvedGradientR(Rect{left, t.top, t.right, t.bottom}, fill.start, fill.end, -1, false,
                                     false);
      if (kind != Kind::LeftNeighbour) {
        // The separator is in the inactive text colour.
        Color separator = pass.cache.inActiveTabForeColor;
        pass.prim.APILine(t.right - 1, t.top + 2, t.right - 1, t.bottom - 2, separator);
      }
      DrawSegments(pass, kFlatBottom, t, false);
    }
    DrawCaption(pass, i, t);
    if (FocusShown(pass, i)) pass.Surface().DrawFocusRect(FocusRect(pass, i, t));
  }
  const int m = pass.strip;
  const int sw = pass.cache.scaleWidth;
  Color& outer = pass.cache.outerBorderColor;
  pass.prim.APILine(0, m + 1, 0, m + 4, outer);
  pass.prim.APILine(sw - 1, m + 1, sw - 1, m + 4, outer);
  if (count > 0) {
    const PixelRect last = Tab(pass, count - 1).tabRect;
    pass.prim.APILine(last.right, last.bottom + 1, sw, last.bottom + 1, outer);
  }
}

void DrawRounded(Pass& pass) {
  for (int i = 0; i < pass.cache.tabCount; ++i) {
    const PixelRect t = Tab(pass, i).tabRect;
    DrawRoundedTabBody(pass, i, t);
    const Rect measured = Theme3Caption(pass, i, t, true);
    if (FocusShown(pass, i)) {
      Rect r = measured;
      if (pass.control.UseControlBox()) {
        r.left += 2;
        r.right += 2;
      }
      pass.Surface().DrawFocusRect(r);
    }
  }
}

}  // namespace

void DrawBackgroundPropertyPages(Pass& pass) {
  const int m = pass.strip;
  const int sw = pass.cache.scaleWidth;
  const int sh = pass.cache.scaleHeight;
  if (pass.theme == TabThemes::System) {
    ClearToPageColor(pass, PageColor(pass));
    Color tl = pass.control.TopLeftInnerBorderColor();
    Color br = pass.control.BottomRightInnerBorderColor();
    Color& outer = pass.cache.outerBorderColor;
    pass.prim.APILine(0, m + 1, 0, sh - 1, tl);
    pass.prim.APILine(sw - 1, m + 1, sw - 1, sh - 1, outer);
    pass.prim.APILine(sw - 2, m + 1, sw - 2, sh - 2, br);
    pass.prim.APILine(0, sh - 1, sw, sh - 1, outer);
    pass.prim.APILine(1, sh - 2, sw - 1, sh - 2, br);
  } else if (pass.theme == TabThemes::System3DLight) {
    ClearToPageColor(pass, PageColor(pass));
    Color& outer = pass.cache.outerBorderColor;
    pass.prim.APILine(0, m, 0, sh - 1, outer);
    pass.prim.APILine(sw - 1, m, sw - 1, sh - 1, outer);
    pass.prim.APILine(0, sh - 1, sw, sh - 1, outer);
  } else {
    DrawBackgroundTabbedDialog(pass);
  }
}

void DrawTabsPropertyPages(Pass& pass) {
  Layout(pass);
  // By theme, in the order of TabThemes.
  static constexpr void (*kByTheme[])(Pass&) = {DrawClassicOrFlat, DrawClassicOrFlat, DrawRectangular,
                                                DrawRounded, DrawClassicOrFlat};
  DrawForTheme(pass, kByTheme);
}

void ShowHideFocusPropertyPages(Pass& pass) {
  const int a = FocusMarkTab(pass);
  if (a >= 0) pass.Surface().DrawFocusRect(FocusRect(pass, a, Tab(pass, a).tabRect));
}

void DrawOverXOredProperty(Pass& pass, const PixelRect& rect) {
  DrawHoverBand(pass, rect, rect.right - 1, kBand, kBandEnds);
}

}  // namespace tabctl::paint
