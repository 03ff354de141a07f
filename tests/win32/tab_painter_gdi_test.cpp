// The tab painter through GDI: the same control scenes as on the raster give
// the same pixels outside the text, and repainting leaks no GDI object.
#include <gtest/gtest.h>

#include <algorithm>

#include "canvas_scenes.h"
#include "painter_scenes.h"
#include "win32/gdi_canvas.h"
#include "win32/gdi_objects.h"

namespace {

using painterscenes::RasterMetrics;

TEST(TabPainterGdi, EveryStyleAndThemeMatchesTheRasterOutsideText) {
  int differing = 0;
  const auto scenes = painterscenes::AllScenes();
  ASSERT_EQ(scenes.size(), 20u);
  for (const auto& scene : scenes) {
    win32::GdiCanvas gdi(569, 353);
    tabctl::RasterCanvas raster(569, 353);
    RasterMetrics gdiText(gdi);
    RasterMetrics rasterText(raster);
    painterscenes::Control onGdi(gdiText, scene);
    painterscenes::Control onRaster(rasterText, scene);
    ASSERT_FALSE(gdiText.textAreas.empty());
    // GDI underlines an access key just below a tight text rectangle, so
    // text areas are taken with a small margin.
    std::vector<tabctl::Rect> areas;
    for (const tabctl::Rect& r : gdiText.textAreas) {
      areas.push_back({r.left - 2, r.top - 2, r.right + 2, r.bottom + 3});
    }
    const std::string diff = scenes::Differences(gdi.Pixels(), raster.Pixels(), 569, 353, areas);
    if (!diff.empty()) {
      ++differing;
      ADD_FAILURE() << scene.Name() << ": " << diff;
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(TabPainterGdi, TenThousandRepaintsLeaveTheLiveGdiCountWhereItWas) {
  win32::GdiCanvas gdi(569, 353);
  painterscenes::Control control(
      gdi, {tabctl::TabStyles::PropertyPages, 1, true, tabctl::PictureAlignments::Left, false});
  // The first repaint has made the canvas's fonts and its scratch image,
  // which it keeps; from here on nothing may pile up.
  const long before = win32::LiveGdiTotal();
  const DWORD handlesBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  long highest = before;
  for (int n = 0; n < 10000; ++n) {
    control.Tab().Refresh();
    if (n % 1000 == 0) {
      control.Tab().pShowHideFocus();
      control.Tab().DrawControlBox(tabctl::ControlBoxState::Pressed, 1);
    }
    highest = std::max(highest, win32::LiveGdiTotal());
  }
  EXPECT_EQ(win32::LiveGdiTotal(), before);
  EXPECT_EQ(highest, before);
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), handlesBefore);
}

}  // namespace
