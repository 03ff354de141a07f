// The tab painter: repaint order, theme-3 background pass, close boxes and
// the helpers both styles share. The styles themselves are in
// tab_painter_pages.cpp and tab_painter_dialog.cpp.
#include "tabctl/tab_painter.h"

#include <algorithm>

#include "tabctl/errors.h"
#include "tabctl/tab_painter_internal.h"

namespace tabctl {

std::string MeasuredCaption(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    text.push_back(caption[i]);
    if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') ++i;
  }
  if (text.find('&') != std::string::npos && !text.empty()) {
    // Drop the last character, not just its last byte.
    std::size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.erase(end);
  }
  return text;
}

namespace paint {

namespace {
int XOf(Ax a, int d, const PixelRect& r) { return (a == Ax::L ? r.left : r.right) + d; }
int YOf(Ay a, int d, const PixelRect& r) { return (a == Ay::T ? r.top : r.bottom) + d; }
}  // namespace

void DrawSegments(Pass& pass, std::span<const Segment> table, const PixelRect& tab, bool flat,
                  Color activeEnd) {
  for (const Segment& s : table) {
    if (flat && s.pen == Pen::BottomRight) continue;
    Color color = 0;
    switch (flat && s.pen != Pen::ActiveEnd ? Pen::Outer : s.pen) {
      case Pen::Outer:
        color = pass.cache.outerBorderColor;
        break;
      case Pen::TopLeft:
        color = pass.control.TopLeftInnerBorderColor();
        break;
      case Pen::BottomRight:
        color = pass.control.BottomRightInnerBorderColor();
        break;
      case Pen::ActiveEnd:
        color = activeEnd;
        break;
    }
    pass.prim.APILine(XOf(s.x1, s.dx1, tab), YOf(s.y1, s.dy1, tab), XOf(s.x2, s.dx2, tab),
                      YOf(s.y2, s.dy2, tab), color);
  }
}

void DrawHoverBand(Pass& pass, const PixelRect& tab, int right, std::span<const BandRow> rows,
                   std::span<const Segment> ends) {
  const auto& tabs = pass.control.AryTabs();
  const bool onActive = pass.cache.activeTab >= 0 && pass.cache.activeTab < static_cast<int>(tabs.size()) &&
                        tabs[static_cast<std::size_t>(pass.cache.activeTab)].tabRect == tab;
  const Color base =
      onActive && pass.control.UseFocusedColor() ? pass.control.FocusedColor() : pass.cache.hoverColor;
  for (const BandRow& row : rows) {
    Color color = pass.control.OffsetColor(base, row.offset);
    const int y = tab.top + row.dy;
    pass.prim.pFillCurvedSolid(tab.left, y, right, y, color, row.radius, true, true);
  }
  DrawSegments(pass, ends, tab, false);
}

TabLayoutMetrics MetricsOf(const Pass& pass) {
  const DrawCache& c = pass.cache;
  return TabLayoutMetrics{
      pass.theme,        c.activeTab,         c.tabCount,    c.scaleWidth,
      c.activeTabHeight, c.inActiveTabHeight, c.pictureSize, pass.control.UseControlBox()};
}

bool RunMode(ucPageTab& control) {
  try {
    return control.Host().UserMode();
  } catch (...) {
    return false;
  }
}

int FocusMarkTab(Pass& pass) {
  const int a = pass.cache.activeTab;
  if (a < 0 || a >= pass.cache.tabCount) return -1;
  if (!pass.control.ShowFocusRect() || !RunMode(pass.control)) return -1;
  return a;
}

bool Disabled(const Pass& pass, int index) {
  return !pass.control.AryTabs()[static_cast<std::size_t>(index)].enabled;
}

void SelectTabFont(Pass& pass, int index) {
  const bool active = index == pass.cache.activeTab;
  const TabFont& f = active ? pass.control.ActiveTabFont() : pass.control.InActiveTabFont();
  pass.Surface().SetFont(
      FontDescription{f.name, f.size, f.bold, f.italic, f.underline, f.strikethrough, f.charset});
  Color& fore = Disabled(pass, index) ? pass.cache.disabledTabForeColor
                : active              ? pass.cache.activeTabForeColor
                                      : pass.cache.inActiveTabForeColor;
  pass.Surface().SetTextColor(pass.prim.Resolve(fore));
}

int PictureSizeCapped(const Pass& pass, int cap) {
  return std::max(0, std::min(pass.cache.pictureSize, cap));
}

bool UsesMask(Pass& pass, int index) {
  const Picture& picture = pass.control.AryTabs()[static_cast<std::size_t>(index)].picture;
  return pass.control.UseMaskColor() && picture && picture.Get()->IsBitmap();
}

bool DrawTabPicture(Pass& pass, int index, int x, int y, int p) {
  const Picture& picture = pass.control.AryTabs()[static_cast<std::size_t>(index)].picture;
  const bool mask = UsesMask(pass, index);
  // Pictures of a kind this painter does not know take their place but
  // show nothing.
  const auto* pixels = picture.As<PixelPicture>();
  if (pixels == nullptr || p <= 0) return mask;
  if (mask) {
    Color maskColor = pass.control.PictureMaskColor();
    pass.prim.DrawImage(pixels->Pixels(), maskColor, x, y, p, p);
  } else {
    pass.prim.pPaintPicture(pixels->Pixels(), x, y, p, p);
  }
  return mask;
}

Color PageColor(const Pass& pass) {
  const auto& tabs = pass.control.AryTabs();
  const int a = pass.cache.activeTab;
  if (a >= 0 && a < static_cast<int>(tabs.size()) && !tabs[static_cast<std::size_t>(a)].enabled) {
    return pass.cache.disabledTabBackColor;
  }
  return pass.cache.activeTabBackEndColor;
}

void DrawRoundedTabBody(Pass& pass, int index, const PixelRect& tab) {
  Color fill = Disabled(pass, index)           ? pass.cache.disabledTabBackColor
               : index == pass.cache.activeTab ? pass.cache.activeTabBackStartColor
                                               : pass.cache.inActiveTabBackStartColor;
  pass.Surface().SetPenColor(pass.prim.Resolve(pass.cache.outerBorderColor));
  pass.Surface().RoundRect(Rect{tab.left, tab.top, tab.right, pass.cache.scaleHeight - 1},
                           pass.control.XRadius(), pass.control.YRadius(), pass.prim.Resolve(fill));
}

void ClearToPageColor(Pass& pass, Color color) {
  pass.prim.Cls();
  // Only a real change goes through the property (a repaint request and a
  // notice); the surface is painted either way.
  if (pass.control.BackColor() != color) pass.control.SetBackColor(color);
  pass.Surface().Clear(pass.prim.Resolve(color));
}

FillColors TabFillColors(const Pass& pass, int index) {
  const DrawCache& c = pass.cache;
  const bool active = index == c.activeTab;
  if (!Disabled(pass, index)) {
    return active ? FillColors{c.activeTabBackStartColor, c.activeTabBackEndColor}
                  : FillColors{c.inActiveTabBackStartColor, c.inActiveTabBackEndColor};
  }
  const bool neighbour = index == c.activeTab - 1 || index == c.activeTab + 1;
  if (active || neighbour) return {c.disabledTabBackColor, c.disabledTabBackColor};
  return {c.disabledTabBackColor, c.inActiveTabBackEndColor};
}

}  // namespace paint

namespace {

using paint::Pass;

// What each style draws; a style outside the table draws nothing.
struct StylePainter {
  void (*background)(Pass&);
  void (*tabs)(Pass&);
  void (*focus)(Pass&);
  void (*hover)(Pass&, const PixelRect&);
};

const StylePainter* StyleOf(const ucPageTab& control) {
  static constexpr StylePainter kTabbedDialog{paint::DrawBackgroundTabbedDialog, paint::DrawTabsTabbedDialog,
                                              paint::ShowHideFocusTabbedDialog, paint::DrawOverXOredTabbed};
  static constexpr StylePainter kPropertyPages{
      paint::DrawBackgroundPropertyPages, paint::DrawTabsPropertyPages, paint::ShowHideFocusPropertyPages,
      paint::DrawOverXOredProperty};
  switch (control.TabStyle()) {
    case TabStyles::TabbedDialog:
      return &kTabbedDialog;
    case TabStyles::PropertyPages:
      return &kPropertyPages;
  }
  return nullptr;
}

bool DrawnTheme(const ucPageTab& control) {
  const TabThemes theme = control.TabTheme();
  return theme >= TabThemes::System && theme <= TabThemes::LightBeige;
}

class TabPainter final : public TabRenderer {
 public:
  explicit TabPainter(Canvas& canvas) : canvas_(canvas) {}

  void LayOutTabs(ucPageTab& control) override {
    Guarded("LayOutTabs", [&] {
      // Only what a tab pass would lay out.
      if (!DrawnTheme(control) || StyleOf(control) == nullptr) return;
      const Pass pass(control, canvas_);
      control.StoreTabLayout(LayoutTabs(control, paint::MetricsOf(pass), canvas_));
    });
  }

  void DrawMe(ucPageTab& control) override {
    Guarded("pDrawMe", [&] {
      ControlPrimitives(control, canvas_).Cls();
      DrawBackground(control);
      DrawTabs(control);
    });
  }

  void DrawBackground(ucPageTab& control) override {
    Guarded("DrawBackground", [&] {
      if (!DrawnTheme(control)) return;
      if (control.TabTheme() == TabThemes::FlatGrey && !backgroundPending_) {
        // The first time round the tab pass paints the page over the tabs.
        backgroundPending_ = true;
        return;
      }
      Pass pass(control, canvas_);
      if (const StylePainter* style = StyleOf(control)) style->background(pass);
    });
  }

  void DrawTabs(ucPageTab& control) override {
    Guarded("DrawTabs", [&] {
      if (DrawnTheme(control)) {
        Pass pass(control, canvas_);
        if (const StylePainter* style = StyleOf(control)) style->tabs(pass);
      }
      if (control.TabTheme() == TabThemes::FlatGrey) {
        backgroundPending_ = true;
        DrawBackground(control);
      }
      if (control.UseControlBox()) DrawControlBox(control, ControlBoxState::Normal, -1);
    });
  }

  void ShowHideFocus(ucPageTab& control) override {
    Guarded("ShowHideFocus", [&] {
      if (!DrawnTheme(control)) return;
      Pass pass(control, canvas_);
      if (const StylePainter* style = StyleOf(control)) style->focus(pass);
    });
  }

  void DrawOverXOred(ucPageTab& control) override {
    Guarded("pDrawOverXOred", [&] {
      const auto theme = control.TabTheme();
      if (theme != TabThemes::LightVisual && theme != TabThemes::LightBeige) return;
      if (!control.Hover().drawn) {
        // The highlight has gone: the tab pass paints the tabs afresh, the
        // active tab with its own band.
        DrawTabs(control);
        return;
      }
      Pass pass(control, canvas_);
      if (const StylePainter* style = StyleOf(control)) style->hover(pass, control.Hover().rect);
    });
  }

  void DrawControlBox(ucPageTab& control, ControlBoxState state, int index) override {
    Guarded("DrawControlBox", [&] {
      if (!DrawnTheme(control)) return;
      ControlPrimitives prim(control, canvas_);
      const bool classic = control.TabTheme() == TabThemes::System;
      const auto& tabs = control.AryTabs();
      if (index == -1) {
        Color outer = control.OuterBorderColor();
        if (!classic) canvas_.SetPenColor(prim.Resolve(outer));
        for (std::size_t i = 0; i < tabs.size(); ++i) {
          if (classic) canvas_.SetPenColor(prim.Resolve(outer));
          Color start = control.ActiveTabBackStartColor();
          Color end = control.ActiveTabBackEndColor();
          OneBox(control, prim, tabs[i].controlBoxRect, start, end);
        }
        return;
      }
      if (classic || index < 0 || index >= static_cast<int>(tabs.size())) return;
      Color start = control.ActiveTabBackStartColor();
      Color end = control.ActiveTabBackEndColor();
      const Color darker = control.OffsetColor(end, -48);
      if (state == ControlBoxState::Hover) end = darker;
      if (state == ControlBoxState::Pressed) start = end = darker;
      OneBox(control, prim, tabs[static_cast<std::size_t>(index)].controlBoxRect, start, end);
    });
  }

 private:
  // Outline in the current pen, gradient inside, the "X" over it.
  void OneBox(ucPageTab& control, ControlPrimitives& prim, const PixelRect& box, Color& start, Color& end) {
    const int l = box.left, t = box.top, r = box.right, b = box.bottom;
    canvas_.RoundRect(Rect{l, t, r, b}, 2, 2, std::nullopt);
    prim.pFillCurvedGradient(l + 1, t + 1, r - 1, b - 2, start, end, -1, false, false);
    Color glyph = control.OffsetColor(control.OuterBorderColor(), -192);
    prim.APILine(l + 3, b - 4, r - 3, t + 2, glyph);
    prim.APILine(l + 3, t + 3, r - 3, b - 3, glyph);
  }

  Canvas& canvas_;
  // Theme 3 only: false until the first background pass has been skipped.
  bool backgroundPending_ = false;
};

}  // namespace

std::unique_ptr<TabRenderer> MakeTabPainter(Canvas& canvas) { return std::make_unique<TabPainter>(canvas); }

}  // namespace tabctl
