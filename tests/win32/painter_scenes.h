// The tab painter's reference scenes for the GDI-against-raster check: both
// styles, five themes, close boxes, pictures at both sides, a disabled tab,
// focus and hover. Text is measured with the raster's built-in font on both
// canvases (so the layouts agree) and the rectangles text is drawn in are
// recorded, to be left out of the comparison.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../../tools/still_host.h"
#include "gfx/raster_canvas.h"
#include "tabctl/tab_painter.h"
#include "tabctl/uc_page_tab.h"

namespace painterscenes {

using namespace tabctl;

// Passes everything to `inner` except text measuring, which follows the
// raster font; records where text is drawn.
class RasterMetrics final : public Canvas {
 public:
  explicit RasterMetrics(Canvas& inner) : inner_(inner), metrics_(1, 1) {}
  std::vector<Rect> textAreas;

  Size ClientSize() const override { return inner_.ClientSize(); }
  void Clear(Rgb c) override { inner_.Clear(c); }
  void SetPenColor(Rgb c) override { inner_.SetPenColor(c); }
  Rgb PenColor() const override { return inner_.PenColor(); }
  void Line(int a, int b, int c, int d) override { inner_.Line(a, b, c, d); }
  void RectangleOutline(int x, int y, int w, int h) override { inner_.RectangleOutline(x, y, w, h); }
  void FillRect(const Rect& r, Rgb c) override { inner_.FillRect(r, c); }
  void RoundRect(const Rect& r, int w, int h, std::optional<Rgb> f) override { inner_.RoundRect(r, w, h, f); }
  void SetFont(const FontDescription& f) override {
    inner_.SetFont(f);
    metrics_.SetFont(f);
  }
  void SetTextColor(Rgb c) override { inner_.SetTextColor(c); }
  Size MeasureText(std::string_view t) override { return metrics_.MeasureText(t); }
  int DrawTextLine(std::string_view t, Rect& r, unsigned flags) override {
    if (flags & kTextCalcRect) return metrics_.DrawTextLine(t, r, flags);
    textAreas.push_back(r);
    return inner_.DrawTextLine(t, r, flags);
  }
  void DrawFocusRect(const Rect& r) override { inner_.DrawFocusRect(r); }
  void TransparentBlit(const Bitmap& b, const Rect& d, Rgb t) override { inner_.TransparentBlit(b, d, t); }
  void PaintPicture(const Bitmap& p, const Rect& d) override { inner_.PaintPicture(p, d); }

 private:
  Canvas& inner_;
  RasterCanvas metrics_;
};

struct Scene {
  TabStyles style;
  int theme;
  bool controlBox;
  PictureAlignments align;
  bool hover;
  std::string Name() const {
    return std::string(style == TabStyles::TabbedDialog ? "dialog" : "pages") + " theme " +
           std::to_string(theme) + (controlBox ? " box" : "") +
           (align == PictureAlignments::Left ? " left" : " right") + (hover ? " hover" : "");
  }
};

inline std::vector<Scene> AllScenes() {
  std::vector<Scene> list;
  for (TabStyles style : {TabStyles::TabbedDialog, TabStyles::PropertyPages}) {
    for (int theme = 0; theme <= 4; ++theme) {
      list.push_back({style, theme, false, PictureAlignments::Left, false});
      list.push_back({style, theme, true, PictureAlignments::Right, theme == 1 || theme == 4});
    }
  }
  return list;
}

inline Picture Icon(Rgb ink) {
  Bitmap b(16, 16, MakeRgb(255, 0, 255));
  for (int y = 3; y < 13; ++y) {
    for (int x = 2 + y % 3; x < 14; ++x) b.Set(x, y, ink);
  }
  return MakePixelPicture(b);
}

// A control of 569 x 353 with four tabs drawn by the painter on `canvas`.
class Control {
 public:
  Control(Canvas& canvas, const Scene& s)
      : host_(569, 353), painter_(MakeTabPainter(canvas)), control_(host_, system_) {
    control_.InitProperties();
    control_.SetTabCount(4);
    const char* captions[] = {"&General", "Speed && Power", "History", "About"};
    for (int i = 0; i < 4; ++i) {
      control_.SetTabCaption(i, captions[i]);
      control_.SetTabPicture(i, Icon(MakeRgb(40 * i + 30, 200 - 40 * i, 90)));
    }
    control_.SetTabPicture(2, MakePixelPicture(Bitmap(16, 16, MakeRgb(9, 99, 199)), false));
    control_.SetTabEnabled(3, false);
    control_.SetPictureMaskColor(RgbColor(255, 0, 255));
    control_.SetTabStyle(s.style);
    control_.SetTabTheme(static_cast<TabThemes>(s.theme));
    control_.SetPictureAlign(s.align);
    control_.SetUseControlBox(s.controlBox);
    control_.SetActiveTab(1);
    control_.SetIsFocused(true);
    control_.SetRenderer(painter_.get());
    control_.Refresh();
    if (s.hover) {
      control_.Hover().drawn = true;
      control_.Hover().rect = control_.AryTabs()[2].tabRect;
      control_.pDrawOverXOred();
      control_.DrawControlBox(tabctl::ControlBoxState::Hover, 2);
    }
  }
  ~Control() { control_.SetRenderer(nullptr); }
  ucPageTab& Tab() { return control_; }

 private:
  tools::StillHost host_;
  tools::StillSystem system_;
  std::unique_ptr<TabRenderer> painter_;
  ucPageTab control_;
};

}  // namespace painterscenes
