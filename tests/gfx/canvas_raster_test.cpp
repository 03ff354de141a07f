// Pixel rules of the raster canvas. Where a case names GDI, the expected
// pixels were read back from GDI (under Wine) drawing the same call.
#include <gtest/gtest.h>

#include "canvas_test_util.h"
#include "gfx/raster_canvas.h"

namespace {

using namespace canvas_test;
using namespace tabctl;

constexpr Rgb kRed = MakeRgb(255, 0, 0);
constexpr Rgb kGreen = MakeRgb(0, 255, 0);

RasterCanvas WhiteCanvas(int width, int height) {
  RasterCanvas canvas(width, height);
  canvas.Clear(kWhite);
  canvas.SetPenColor(kRed);
  return canvas;
}

PixelSet LineFrom(int x1, int y1, int x2, int y2) {
  RasterCanvas canvas = WhiteCanvas(64, 64);
  canvas.Line(x1, y1, x2, y2);
  return Painted(canvas, kWhite);
}

TEST(RasterLine, PaintsItsStartButNotItsEndInEveryDirection) {
  const int directions[][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  for (const auto& d : directions) {
    PixelSet expected;
    for (int k = 0; k < 5; ++k) expected.insert({20 + k * d[0], 20 + k * d[1]});
    EXPECT_EQ(LineFrom(20, 20, 20 + 5 * d[0], 20 + 5 * d[1]), expected) << d[0] << "," << d[1];
  }
  EXPECT_TRUE(LineFrom(7, 7, 7, 7).empty());
}

TEST(RasterLine, SlopedLinesRoundLikeGdi) {
  // Ties between two rows (columns) go to the smaller coordinate.
  EXPECT_EQ(LineFrom(32, 32, 26, 27), (PixelSet{{27, 28}, {28, 29}, {29, 29}, {30, 30}, {31, 31}, {32, 32}}));
  EXPECT_EQ(LineFrom(32, 32, 26, 33), (PixelSet{{29, 32}, {30, 32}, {31, 32}, {32, 32}, {27, 33}, {28, 33}}));
  EXPECT_EQ(LineFrom(32, 32, 29, 37), (PixelSet{{32, 32}, {31, 33}, {31, 34}, {30, 35}, {30, 36}}));
  EXPECT_EQ(LineFrom(32, 32, 34, 27), (PixelSet{{34, 28}, {33, 29}, {33, 30}, {32, 31}, {32, 32}}));
  EXPECT_EQ(LineFrom(32, 32, 37, 29), (PixelSet{{35, 30}, {36, 30}, {33, 31}, {34, 31}, {32, 32}}));
  EXPECT_EQ(LineFrom(32, 32, 38, 35), (PixelSet{{32, 32}, {33, 32}, {34, 33}, {35, 33}, {36, 34}, {37, 34}}));
  EXPECT_EQ(LineFrom(31, 33, 24, 35),
            (PixelSet{{30, 33}, {31, 33}, {26, 34}, {27, 34}, {28, 34}, {29, 34}, {25, 35}}));
  EXPECT_EQ(LineFrom(31, 33, 29, 26),
            (PixelSet{{29, 27}, {30, 28}, {30, 29}, {30, 30}, {30, 31}, {31, 32}, {31, 33}}));
  EXPECT_EQ(LineFrom(31, 33, 38, 30),
            (PixelSet{{37, 30}, {35, 31}, {36, 31}, {33, 32}, {34, 32}, {31, 33}, {32, 33}}));
}

TEST(RasterLine, ClipsToTheSurfaceWithoutWalkingHugeLines) {
  RasterCanvas canvas = WhiteCanvas(16, 8);
  canvas.Line(-1'000'000'000, 5, 1'000'000'000, 5);
  EXPECT_EQ(Painted(canvas, kWhite), Block(0, 5, 16, 6));

  // A line partly off the surface paints the same pixels as on a larger one.
  RasterCanvas small = WhiteCanvas(10, 10);
  small.Line(-5, 3, 15, 9);
  PixelSet inside;
  for (const auto& p : LineFrom(-5 + 20, 3 + 20, 15 + 20, 9 + 20)) {
    if (p.first >= 20 && p.first < 30 && p.second >= 20 && p.second < 30) {
      inside.insert({p.first - 20, p.second - 20});
    }
  }
  EXPECT_EQ(Painted(small, kWhite), inside);
  EXPECT_FALSE(inside.empty());
}

TEST(RasterOutline, CoversBothEdgesOfWidthAndHeight) {
  RasterCanvas canvas = WhiteCanvas(20, 12);
  canvas.RectangleOutline(2, 3, 10, 5);
  PixelSet border = Block(2, 3, 13, 9);
  for (const auto& p : Block(3, 4, 12, 8)) border.erase(p);
  EXPECT_EQ(Painted(canvas, kWhite), border);
  EXPECT_EQ(border.size(), 30u);  // an 11 x 6 box
}

TEST(RasterFill, ExcludesRightAndBottomAndHandlesReversedEdges) {
  RasterCanvas canvas = WhiteCanvas(20, 20);
  canvas.FillRect(Rect{2, 3, 12, 8}, kGreen);
  EXPECT_EQ(Painted(canvas, kWhite), Block(2, 3, 12, 8));

  // GDI fills a reversed rectangle between its edges, keeping the edge
  // given as right (bottom) out.
  canvas.Clear(kWhite);
  canvas.FillRect(Rect{10, 10, 5, 5}, kGreen);
  EXPECT_EQ(Painted(canvas, kWhite), Block(6, 6, 11, 11));
  canvas.Clear(kWhite);
  canvas.FillRect(Rect{10, 10, 5, 15}, kGreen);
  EXPECT_EQ(Painted(canvas, kWhite), Block(6, 10, 11, 15));

  canvas.Clear(kWhite);
  canvas.FillRect(Rect{3, 3, 3, 8}, kGreen);
  canvas.FillRect(Rect{-50, -50, -10, 100}, kGreen);
  EXPECT_TRUE(Painted(canvas, kWhite).empty());
  canvas.FillRect(Rect{-5, 18, 100, 100}, kGreen);
  EXPECT_EQ(Painted(canvas, kWhite), Block(0, 18, 20, 20));
}

std::vector<std::string> RoundRectArt(Rect rect, int ew, int eh, bool fill, int w, int h) {
  RasterCanvas canvas = WhiteCanvas(w, h);
  canvas.RoundRect(rect, ew, eh, fill ? std::optional<Rgb>(kGreen) : std::nullopt);
  return Art(canvas, w, h, {{kWhite, '.'}, {kRed, 'R'}, {kGreen, 'G'}});
}

TEST(RasterRoundRect, SmallEllipsesGiveAPlainRectangle) {
  const std::vector<std::string> expected = {"RRRRRRRRRR.", "RGGGGGGGGR.", "RGGGGGGGGR.", "RGGGGGGGGR.",
                                             "RGGGGGGGGR.", "RGGGGGGGGR.", "RGGGGGGGGR.", "RGGGGGGGGR.",
                                             "RGGGGGGGGR.", "RRRRRRRRRR.", "..........."};
  EXPECT_EQ(RoundRectArt({0, 0, 10, 10}, 2, 2, true, 11, 11), expected);
  EXPECT_EQ(RoundRectArt({0, 0, 10, 10}, 0, 0, true, 11, 11), expected);
}

TEST(RasterRoundRect, CornersMatchGdi) {
  // RoundRect(0, 0, 20, 20, 9, 9) and (0, 0, 12, 12, 11, 11) read back from GDI.
  const std::vector<std::string> nine = {
      "...RRRRRRRRRRRRRR....", ".RRGGGGGGGGGGGGGGRR..", ".RGGGGGGGGGGGGGGGGR..", "RGGGGGGGGGGGGGGGGGGR.",
      "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.",
      "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.",
      "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.", "RGGGGGGGGGGGGGGGGGGR.",
      "RGGGGGGGGGGGGGGGGGGR.", ".RGGGGGGGGGGGGGGGGR..", ".RRGGGGGGGGGGGGGGRR..", "...RRRRRRRRRRRRRR....",
      "....................."};
  EXPECT_EQ(RoundRectArt({0, 0, 20, 20}, 9, 9, true, 21, 21), nine);
  const std::vector<std::string> eleven = {"...RRRRRR....", "..RGGGGGGR...", ".RGGGGGGGGR..", "RGGGGGGGGGGR.",
                                           "RGGGGGGGGGGR.", "RGGGGGGGGGGR.", "RGGGGGGGGGGR.", "RGGGGGGGGGGR.",
                                           "RGGGGGGGGGGR.", ".RGGGGGGGGR..", "..RGGGGGGR...", "...RRRRRR....",
                                           "............."};
  EXPECT_EQ(RoundRectArt({0, 0, 12, 12}, 11, 11, true, 13, 13), eleven);
}

TEST(RasterRoundRect, TheTabCornerOfTenPixelsAndAnOversizedEllipse) {
  // The tab shape of the rounded theme: a 10 x 10 corner ellipse, GDI's pixels.
  const std::vector<std::string> top = {"...RRRRRRRRRRRRRR.....", "..R..............R....",
                                        ".R................R...", "R..................R..",
                                        "R..................R.."};
  std::vector<std::string> art = RoundRectArt({0, 0, 20, 30}, 10, 10, false, 22, 31);
  EXPECT_EQ(std::vector<std::string>(art.begin(), art.begin() + 5), top);
  EXPECT_EQ(art[29], "...RRRRRRRRRRRRRR.....");
  EXPECT_EQ(art[27], ".R................R...");
  EXPECT_EQ(art[26], "R..................R..");
  // An ellipse larger than the rectangle is cut down to it: a circle.
  EXPECT_EQ(RoundRectArt({0, 0, 7, 7}, 10, 10, false, 8, 8),
            (std::vector<std::string>{"..RRR...", ".R...R..", "R.....R.", "R.....R.", "R.....R.", ".R...R..",
                                      "..RRR...", "........"}));
  // Absurd sizes are refused rather than traced point by point.
  RasterCanvas canvas = WhiteCanvas(8, 8);
  canvas.RoundRect(Rect{INT32_MIN, 0, INT32_MAX, 5}, 10, 10, kGreen);
  EXPECT_TRUE(Painted(canvas, kWhite).empty());
  // Reversed corners describe the same shape.
  EXPECT_EQ(RoundRectArt({20, 30, 0, 0}, 10, 10, true, 22, 31),
            RoundRectArt({0, 0, 20, 30}, 10, 10, true, 22, 31));
}

TEST(RasterFocusRect, InvertsEveryOtherBorderPixelAndTwiceRestores) {
  RasterCanvas canvas(16, 12);
  canvas.Clear(MakeRgb(0x66, 0x99, 0x33));
  canvas.DrawFocusRect(Rect{2, 3, 12, 9});
  // GDI's pixels: every other border pixel from the top-right one, inverted.
  const PixelSet expected = {{3, 3}, {5, 3},  {7, 3}, {9, 3}, {11, 3}, {2, 4}, {11, 5},
                             {2, 6}, {11, 7}, {2, 8}, {4, 8}, {6, 8},  {8, 8}, {10, 8}};
  EXPECT_EQ(Painted(canvas, MakeRgb(0x66, 0x99, 0x33)), expected);
  EXPECT_EQ(canvas.PixelAt(3, 3), MakeRgb(0x99, 0x66, 0xCC));

  // On any image, twice is nothing.
  RasterCanvas noisy(16, 12);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 16; ++x) noisy.FillRect(Rect{x, y, x + 1, y + 1}, MakeRgb(x * 16, y * 20, x * y));
  }
  const std::vector<tabctl::Pixel> before = noisy.Pixels();
  for (const Rect& r : {Rect{2, 3, 12, 9}, Rect{1, 1, 2, 2}, Rect{5, 5, 6, 20}, Rect{-3, -3, 30, 30},
                        Rect{-2'000'000'000, 4, 2'000'000'000, 7}}) {
    noisy.DrawFocusRect(r);
    noisy.DrawFocusRect(r);
    EXPECT_EQ(noisy.Pixels(), before);
  }
}

TEST(RasterFocusRect, DegenerateRectanglesAsGdi) {
  const Rgb back = MakeRgb(10, 20, 30);
  RasterCanvas canvas(24, 24);
  canvas.Clear(back);
  canvas.DrawFocusRect(Rect{5, 5, 6, 20});  // one pixel wide: the sides cancel
  EXPECT_EQ(Painted(canvas, back), (PixelSet{{5, 5}, {5, 19}}));
  canvas.Clear(back);
  canvas.DrawFocusRect(Rect{1, 1, 2, 2});
  canvas.DrawFocusRect(Rect{4, 4, 9, 4});
  EXPECT_TRUE(Painted(canvas, back).empty());
  canvas.DrawFocusRect(Rect{10, 10, 5, 5});  // reversed: the same as (5, 5, 10, 10)
  EXPECT_EQ(Painted(canvas, back),
            (PixelSet{{5, 5}, {7, 5}, {9, 5}, {5, 7}, {9, 7}, {5, 9}, {7, 9}, {9, 9}}));
  // The dots start at the top-right pixel whatever its position.
  canvas.Clear(back);
  canvas.DrawFocusRect(Rect{2, 2, 4, 3});
  EXPECT_EQ(Painted(canvas, back), (PixelSet{{3, 2}}));
  canvas.Clear(back);
  canvas.DrawFocusRect(Rect{2, 2, 4, 4});
  EXPECT_EQ(Painted(canvas, back), (PixelSet{{3, 2}, {2, 3}}));
}

Bitmap Numbered(int width, int height) {  // pixel (x, y) has red x+1, green y+1
  Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) bitmap.Set(x, y, MakeRgb(x + 1, y + 1, 7));
  }
  return bitmap;
}

TEST(RasterBlit, SkipsTheTransparentColourAndStretches) {
  Bitmap bitmap = Numbered(4, 4);
  const Rgb key = MakeRgb(0xC0, 0xC0, 0xC0);
  bitmap.Set(1, 1, key);
  RasterCanvas canvas = WhiteCanvas(16, 16);
  canvas.TransparentBlit(bitmap, Rect{2, 2, 6, 6}, key);
  EXPECT_EQ(canvas.PixelAt(2, 2), MakeRgb(1, 1, 7));
  EXPECT_EQ(canvas.PixelAt(5, 5), MakeRgb(4, 4, 7));
  EXPECT_EQ(canvas.PixelAt(3, 3), kWhite);  // transparent
  EXPECT_EQ(Painted(canvas, kWhite).size(), 15u);

  // Twice the size: every source pixel becomes a 2 x 2 block.
  canvas.Clear(kWhite);
  canvas.TransparentBlit(bitmap, Rect{0, 0, 8, 8}, key);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const Rgb expected = (x / 2 == 1 && y / 2 == 1) ? kWhite : MakeRgb(x / 2 + 1, y / 2 + 1, 7);
      ASSERT_EQ(canvas.PixelAt(x, y), expected) << x << "," << y;
    }
  }
  EXPECT_EQ(canvas.PixelAt(8, 0), kWhite);

  // Half the size: each destination pixel takes the source pixel under its centre.
  canvas.Clear(kWhite);
  canvas.TransparentBlit(Numbered(4, 4), Rect{0, 0, 2, 2}, key);
  EXPECT_EQ(canvas.PixelAt(0, 0), MakeRgb(2, 2, 7));
  EXPECT_EQ(canvas.PixelAt(1, 1), MakeRgb(4, 4, 7));
  EXPECT_EQ(Painted(canvas, kWhite).size(), 4u);
}

TEST(RasterBlit, ClipsAndIgnoresEmptyDestinations) {
  RasterCanvas canvas = WhiteCanvas(4, 4);
  canvas.TransparentBlit(Numbered(4, 4), Rect{-2, -1, 2, 3}, kWhite);
  EXPECT_EQ(canvas.PixelAt(0, 0), MakeRgb(3, 2, 7));
  EXPECT_EQ(Painted(canvas, kWhite), Block(0, 0, 2, 3));
  canvas.Clear(kWhite);
  canvas.TransparentBlit(Numbered(4, 4), Rect{0, 0, 0, 4}, kWhite);
  canvas.TransparentBlit(Numbered(4, 4), Rect{4, 4, 0, 0}, kWhite);
  canvas.TransparentBlit(Bitmap(), Rect{0, 0, 4, 4}, kWhite);
  canvas.PaintPicture(Numbered(4, 4), Rect{0, 0, 4, -1});
  EXPECT_TRUE(Painted(canvas, kWhite).empty());
}

TEST(RasterPicture, PaintsEveryPixelIncludingTheMaskColour) {
  Bitmap picture(2, 1, kWhite);
  picture.Set(1, 0, MakeRgb(0xC0, 0xC0, 0xC0));
  RasterCanvas canvas = WhiteCanvas(6, 3);
  canvas.Clear(kRed);
  canvas.PaintPicture(picture, Rect{1, 1, 5, 2});
  EXPECT_EQ(Art(canvas, 6, 3, {{kRed, 'r'}, {kWhite, 'w'}, {MakeRgb(0xC0, 0xC0, 0xC0), 's'}}),
            (std::vector<std::string>{"rrrrrr", "rwwssr", "rrrrrr"}));
}

TEST(RasterCanvasSurface, StartsBlackClearsAndResizes) {
  RasterCanvas canvas(3, 2);
  EXPECT_EQ(canvas.ClientSize(), (tabctl::Size{3, 2}));
  EXPECT_EQ(PixelsOf(canvas, 0).size(), 6u);
  canvas.Clear(kGreen);
  EXPECT_EQ(PixelsOf(canvas, kGreen).size(), 6u);
  canvas.Resize(5, 4);
  EXPECT_EQ(canvas.ClientSize(), (tabctl::Size{5, 4}));
  EXPECT_EQ(PixelsOf(canvas, 0).size(), 20u);
}

TEST(StretchIndex, SamplesTheSourcePixelUnderEachCentre) {
  for (int d = 0; d < 16; ++d) EXPECT_EQ(tabctl::StretchSourceIndex(d, 16, 16), d);
  for (int d = 0; d < 32; ++d) EXPECT_EQ(tabctl::StretchSourceIndex(d, 16, 32), d / 2);
  EXPECT_EQ(tabctl::StretchSourceIndex(0, 32, 16), 1);
  EXPECT_EQ(tabctl::StretchSourceIndex(15, 32, 16), 31);
  EXPECT_EQ(tabctl::StretchSourceIndex(0, 5, 1), 2);
}

}  // namespace
