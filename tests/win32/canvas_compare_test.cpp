// GDI and the raster draw the same pixels: every reference scene goes
// through both canvases and is compared outside the text areas.
#include <gtest/gtest.h>

#include "canvas_scenes.h"
#include "gfx/raster_canvas.h"
#include "win32/gdi_canvas.h"

namespace {

// Draws each scene on both canvases; returns the number of scenes that
// differ (each reported as a test failure with its first pixels).
int CompareAll(const std::vector<scenes::Scene>& list) {
  int differing = 0;
  for (const scenes::Scene& scene : list) {
    win32::GdiCanvas gdi(scene.width, scene.height);
    tabctl::RasterCanvas raster(scene.width, scene.height);
    scene.paint(gdi);
    scene.paint(raster);
    const std::string diff =
        scenes::Differences(gdi.Pixels(), raster.Pixels(), scene.width, scene.height, {});
    if (!diff.empty()) {
      ++differing;
      ADD_FAILURE() << scene.name << ": " << diff;
    }
  }
  return differing;
}

TEST(CanvasCompare, LinesAndOutlines) {
  const auto list = scenes::LineScenes();
  ASSERT_GT(list.size(), 700u);
  EXPECT_EQ(CompareAll(list), 0);
}

TEST(CanvasCompare, Fills) { EXPECT_EQ(CompareAll(scenes::FillScenes()), 0); }

TEST(CanvasCompare, RoundRectangles) {
  const auto list = scenes::RoundRectScenes();
  ASSERT_GT(list.size(), 2000u);
  EXPECT_EQ(CompareAll(list), 0);
}

TEST(CanvasCompare, FocusRectangles) { EXPECT_EQ(CompareAll(scenes::FocusScenes()), 0); }

TEST(CanvasCompare, GradientsAndCurvedFills) { EXPECT_EQ(CompareAll(scenes::PrimitiveScenes()), 0); }

TEST(CanvasCompare, TransparentAndOpaqueBitmaps) { EXPECT_EQ(CompareAll(scenes::ImageScenes()), 0); }

TEST(CanvasCompare, TabStripOutsideItsCaptions) {
  for (int variant = 0; variant < 8; ++variant) {
    win32::GdiCanvas gdi(569, 353);
    tabctl::RasterCanvas raster(569, 353);
    std::vector<tabctl::Rect> textAreas;
    scenes::TabStrip(gdi, variant, &textAreas);
    scenes::TabStrip(raster, variant, nullptr);
    EXPECT_EQ(scenes::Differences(gdi.Pixels(), raster.Pixels(), 569, 353, textAreas), "")
        << "variant " << variant;
    // The captions did draw something on the GDI side.
    const auto pixels = gdi.Pixels();
    const tabctl::Rect caption = textAreas[static_cast<std::size_t>(variant % 4)];
    int ink = 0;
    for (int y = caption.top; y < caption.bottom; ++y) {
      for (int x = caption.left; x < caption.right; ++x)
        ink += (pixels[static_cast<std::size_t>(y) * 569 + x] & 0xFFFFFF) < 0x505050;
    }
    EXPECT_GT(ink, 10) << "variant " << variant;
  }
}

}  // namespace
