// The GDI canvas on its own: GDI resources come back, text goes through the
// real font machinery, the image can be resized and shown.
#include <gtest/gtest.h>

#include "canvas_scenes.h"
#include "win32/gdi_canvas.h"
#include "win32/gdi_objects.h"

namespace {

using win32::GdiKind;
using win32::LiveGdi;
using win32::LiveGdiTotal;

TEST(GdiObjects, OwnersCountWhatTheyHoldAndMovesDoNotCountTwice) {
  const long objects = LiveGdi(GdiKind::kObject);
  const long dcs = LiveGdi(GdiKind::kDc);
  const long selections = LiveGdi(GdiKind::kSelection);
  {
    win32::UniquePen pen(::CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    win32::UniqueBrush brush(::CreateSolidBrush(RGB(4, 5, 6)));
    win32::UniqueMemoryDc dc = win32::UniqueMemoryDc::CompatibleWith(nullptr);
    ASSERT_TRUE(pen && brush && dc);
    EXPECT_EQ(LiveGdi(GdiKind::kObject), objects + 2);
    EXPECT_EQ(LiveGdi(GdiKind::kDc), dcs + 1);
    {
      win32::ScopedSelection selected(dc.get(), pen.get());
      EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
      EXPECT_EQ(LiveGdi(GdiKind::kSelection), selections + 1);
      win32::ScopedSelection moved = std::move(selected);
      EXPECT_EQ(LiveGdi(GdiKind::kSelection), selections + 1);
    }
    EXPECT_NE(::GetCurrentObject(dc.get(), OBJ_PEN), pen.get());  // the old pen is back
    EXPECT_EQ(LiveGdi(GdiKind::kSelection), selections);
    win32::UniquePen other = std::move(pen);
    EXPECT_FALSE(pen);
    EXPECT_EQ(LiveGdi(GdiKind::kObject), objects + 2);
    other.reset();
    EXPECT_EQ(LiveGdi(GdiKind::kObject), objects + 1);
  }
  EXPECT_EQ(LiveGdi(GdiKind::kObject), objects);
  EXPECT_EQ(LiveGdi(GdiKind::kDc), dcs);
  // A window DC is given back too.
  {
    win32::UniqueWindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    EXPECT_EQ(LiveGdi(GdiKind::kDc), dcs + 1);
  }
  EXPECT_EQ(LiveGdi(GdiKind::kDc), dcs);
}

TEST(GdiCanvas, TenThousandRepaintsLeaveNoGdiResourceBehind) {
  const long before = LiveGdiTotal();
  {
    win32::GdiCanvas canvas(569, 353);
    for (int warm = 0; warm < 3; ++warm) scenes::TabStrip(canvas, warm, nullptr);  // all its fonts
    const long steady = LiveGdiTotal();
    EXPECT_GT(steady, before);  // image, DC, selections, fonts
    long highest = steady;
    long lowest = steady;
    for (int repaint = 1; repaint <= 10'000; ++repaint) {
      scenes::TabStrip(canvas, repaint, nullptr);
      highest = std::max(highest, LiveGdiTotal());
      lowest = std::min(lowest, LiveGdiTotal());
      if (repaint % 2500 == 0) canvas.Resize(569 + repaint / 2500, 353);
    }
    EXPECT_EQ(highest, steady);
    EXPECT_EQ(lowest, steady);
    // The image still works after all that.
    canvas.Clear(RGB(1, 2, 3));
    EXPECT_EQ(canvas.PixelAt(300, 200), RGB(1, 2, 3));
  }
  EXPECT_EQ(LiveGdiTotal(), before);
}

TEST(GdiCanvas, FontCacheStaysBoundedWhileFontsChange) {
  const long before = LiveGdi(GdiKind::kObject);
  {
    win32::GdiCanvas canvas(100, 30);
    const long image = LiveGdi(GdiKind::kObject);
    tabctl::FontDescription font;
    int lastWidth = 0;
    for (int i = 0; i < 40; ++i) {
      font.size = 6 + i % 20;
      canvas.SetFont(font);
      const int width = canvas.MeasureText("Wide text").width;
      if (i % 20 != 0) {
        EXPECT_GT(width, lastWidth) << "size " << font.size;  // the new font is in use
      }
      lastWidth = width;
      EXPECT_LE(LiveGdi(GdiKind::kObject), image + 8);
    }
    EXPECT_EQ(LiveGdi(GdiKind::kObject), image + 8);
  }
  EXPECT_EQ(LiveGdi(GdiKind::kObject), before);
}

TEST(GdiCanvas, TextGoesThroughRealFonts) {
  win32::GdiCanvas canvas(200, 40);
  tabctl::FontDescription regular;
  canvas.SetFont(regular);
  const tabctl::Size plain = canvas.MeasureText("Settings and more");
  EXPECT_GT(plain.width, 40);
  EXPECT_GT(plain.height, 8);
  tabctl::FontDescription bold = regular;
  bold.bold = true;
  bold.size = 12;
  canvas.SetFont(bold);
  const tabctl::Size heavy = canvas.MeasureText("Settings and more");
  EXPECT_GT(heavy.width, plain.width);
  EXPECT_GT(heavy.height, plain.height);
  // Measuring through DrawText agrees with the extent; "&&" shows one "&".
  tabctl::Rect rect{5, 5, 195, 35};
  canvas.DrawTextLine("Settings and more", rect, tabctl::kTextSingleLine | tabctl::kTextCalcRect);
  EXPECT_EQ(rect.Width(), heavy.width);
  tabctl::Rect amp{5, 5, 195, 35};
  canvas.DrawTextLine("A&&B", amp, tabctl::kTextSingleLine | tabctl::kTextCalcRect);
  EXPECT_EQ(amp.Width(), canvas.MeasureText("A&B").width);
  // Drawn text lands inside its rectangle, in the text colour.
  canvas.Clear(RGB(255, 255, 255));
  canvas.SetTextColor(RGB(0, 0, 0));
  tabctl::Rect box{20, 5, 180, 35};
  canvas.DrawTextLine("Settings", box, 37);
  int ink = 0;
  int outside = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (canvas.PixelAt(x, y) == RGB(255, 255, 255)) continue;
      (x >= 20 && x < 180 && y >= 5 && y < 35 ? ink : outside) += 1;
    }
  }
  EXPECT_GT(ink, 20);
  EXPECT_EQ(outside, 0);
}

TEST(GdiCanvas, ShowsItsImageOnAnotherDcAndResizes) {
  win32::GdiCanvas canvas(30, 20);
  EXPECT_EQ(canvas.ClientSize(), (tabctl::Size{30, 20}));
  EXPECT_EQ(canvas.PixelAt(29, 19), 0u);  // a new image is black
  canvas.Clear(RGB(10, 20, 30));
  canvas.FillRect(tabctl::Rect{5, 5, 10, 10}, RGB(200, 100, 50));

  win32::GdiCanvas target(40, 40);
  target.Clear(RGB(255, 255, 255));
  canvas.BlitTo(target.Dc(), 3, 4);
  EXPECT_EQ(target.PixelAt(3, 4), RGB(10, 20, 30));
  EXPECT_EQ(target.PixelAt(8, 9), RGB(200, 100, 50));
  EXPECT_EQ(target.PixelAt(33, 24), RGB(255, 255, 255));

  canvas.Resize(50, 10);
  EXPECT_EQ(canvas.ClientSize(), (tabctl::Size{50, 10}));
  EXPECT_EQ(canvas.Pixels().size(), 500u);
  canvas.Resize(0, 10);
  EXPECT_TRUE(canvas.Pixels().empty());
  canvas.Clear(RGB(1, 1, 1));  // drawing on an empty image is harmless
  canvas.Resize(4, 4);
  canvas.Clear(RGB(1, 1, 1));
  EXPECT_EQ(canvas.PixelAt(3, 3), RGB(1, 1, 1));
}

}  // namespace
