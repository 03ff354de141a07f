// PNG output: what is written reads back pixel for pixel.
#include "gfx/png_writer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tabctl/primitives.h"

namespace {

using tabctl::MakeRgb;

std::filesystem::path TempFile(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / "quillmoor-png-test";
  std::filesystem::create_directories(dir);
  return dir / name;
}

TEST(PngWriter, RoundTripsEveryPixel) {
  tabctl::RasterCanvas canvas(37, 11);
  tabctl::draw::Cls(canvas, MakeRgb(255, 255, 255));
  tabctl::draw::pFillCurvedGradient(canvas, 0, 0, 36, 10, MakeRgb(255, 0, 0), MakeRgb(0, 0, 255), 2, true,
                                    true);
  tabctl::draw::APIRectangle(canvas, 3, 2, 20, 5, MakeRgb(1, 2, 3));
  const auto path = TempFile("roundtrip.png");
  ASSERT_TRUE(tabctl::WritePng(path.string(), canvas));
  const tabctl::Bitmap back = tabctl::ReadPng(path.string());
  ASSERT_EQ(back.Width(), 37);
  ASSERT_EQ(back.Height(), 11);
  EXPECT_EQ(back.Pixels(), canvas.Pixels());
  std::filesystem::remove(path);
}

TEST(PngWriter, RefusesBadSizesAndUnwritablePaths) {
  EXPECT_FALSE(tabctl::WritePng(TempFile("empty.png").string(), tabctl::Bitmap()));
  EXPECT_FALSE(tabctl::WritePng(TempFile("short.png").string(), 4, 4, std::vector<tabctl::Pixel>(15)));
  EXPECT_FALSE(tabctl::WritePng("/nonexistent-dir/x.png", tabctl::Bitmap(2, 2)));
  EXPECT_TRUE(tabctl::ReadPng("/nonexistent-dir/x.png").Empty());
}

}  // namespace
