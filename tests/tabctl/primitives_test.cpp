// The drawing primitives on the raster canvas, pixel by pixel.
#include "tabctl/primitives.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/canvas_test_util.h"
#include "gfx/raster_canvas.h"

namespace {

using canvas_test::Block;
using canvas_test::Painted;
using canvas_test::PixelSet;
using tabctl::Bitmap;
using tabctl::MakeRgb;
using tabctl::RasterCanvas;
using tabctl::Rect;
using tabctl::Rgb;
namespace draw = tabctl::draw;

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlue = MakeRgb(0, 0, 255);

RasterCanvas WhiteCanvas(int width, int height) {
  RasterCanvas canvas(width, height);
  canvas.Clear(kWhite);
  return canvas;
}

// Columns painted on row y (as from..to inclusive), or {-1, -1} for none;
// the painted pixels of a row must be one run.
std::pair<int, int> RowRun(const RasterCanvas& canvas, int y) {
  int from = -1;
  int to = -1;
  for (int x = 0; x < canvas.Width(); ++x) {
    if (canvas.PixelAt(x, y) == kWhite) continue;
    if (from < 0) from = x;
    EXPECT_TRUE(to < 0 || to == x - 1) << "gap on row " << y;
    to = x;
  }
  return {from, to};
}

TEST(Primitives, OutlineIsOnePixelLargerThanTheFill) {
  RasterCanvas canvas = WhiteCanvas(30, 20);
  draw::APIRectangle(canvas, 3, 4, 10, 5, kBlue);
  PixelSet outline = Painted(canvas, kWhite);
  EXPECT_EQ(outline.size(), 30u);
  EXPECT_EQ(*outline.begin(), std::make_pair(3, 4));
  EXPECT_EQ(*outline.rbegin(), std::make_pair(13, 9));  // 11 x 6 box

  canvas.Clear(kWhite);
  draw::APIFillRectByCoords(canvas, 3, 4, 10, 5, kBlue);
  EXPECT_EQ(Painted(canvas, kWhite), Block(3, 4, 13, 9));  // exactly 10 x 5
}

TEST(Primitives, LinesLeaveTheCanvasPenAsItWas) {
  RasterCanvas canvas = WhiteCanvas(10, 10);
  canvas.SetPenColor(MakeRgb(1, 2, 3));
  draw::APILine(canvas, 0, 0, 5, 0, kBlue);
  draw::APIRectangle(canvas, 1, 1, 3, 3, kBlue);
  EXPECT_EQ(canvas.PenColor(), MakeRgb(1, 2, 3));
  EXPECT_EQ(canvas.PixelAt(4, 0), kBlue);
  EXPECT_EQ(canvas.PixelAt(5, 0), kWhite);  // end point
}

TEST(Gradient, BlackToWhiteStepsOnePerRowFromTopToBottom) {
  RasterCanvas canvas = WhiteCanvas(4, 258);
  canvas.Clear(MakeRgb(9, 9, 9));
  draw::pFillCurvedGradient(canvas, 0, 0, 3, 255, MakeRgb(0, 0, 0), kWhite, -1, true, true);
  for (int y = 0; y <= 255; ++y) {
    ASSERT_EQ(canvas.PixelAt(0, y), MakeRgb(y, y, y)) << y;
    ASSERT_EQ(canvas.PixelAt(2, y), MakeRgb(y, y, y)) << y;
    ASSERT_EQ(canvas.PixelAt(3, y), MakeRgb(9, 9, 9)) << y;  // right edge not painted
  }
  EXPECT_EQ(canvas.PixelAt(0, 256), MakeRgb(9, 9, 9));
}

TEST(Gradient, EqualEndsPaintEveryRowInThatColour) {
  RasterCanvas canvas = WhiteCanvas(12, 40);
  const Rgb c = MakeRgb(212, 208, 200);
  draw::pFillCurvedGradient(canvas, 1, 2, 11, 37, c, c, -1, false, false);
  EXPECT_EQ(Painted(canvas, kWhite), Block(1, 2, 11, 38));
  EXPECT_EQ(canvas_test::PixelsOf(canvas, c).size(), 10u * 36);
}

// The single-precision step added row by row decides rounding: these rows
// come out differently from the exact value or from double arithmetic.
TEST(Gradient, RowsFollowSinglePrecisionAccumulationAndTiesToEven) {
  struct Row {
    int y;
    Rgb colour;
  };
  struct Case {
    const char* why;
    int rows;
    Rgb from, to;
    std::vector<Row> expected;
  } cases[] = {
      // Exactly 0.5 at row 10 (ties to even: 0), but ten float additions of
      // 0.05 give 0.50000006, so the row is red 1.
      {"red 0 -> 1 over 20 rows",
       20,
       MakeRgb(0, 0, 0),
       MakeRgb(1, 0, 0),
       {{9, MakeRgb(0, 0, 0)}, {10, MakeRgb(1, 0, 0)}, {20, MakeRgb(1, 0, 0)}}},
      // 1.5 at row 9 would round to 2; the float sum is 1.4999999 and gives 1.
      {"green 0 -> 2 over 12 rows",
       12,
       MakeRgb(0, 0, 0),
       MakeRgb(0, 2, 0),
       {{9, MakeRgb(0, 1, 0)}, {12, MakeRgb(0, 2, 0)}}},
      // Exact halves round to the even neighbour: 0, 0.5 -> 0, 1 and 1, 1.5 -> 2, 2.
      {"halves",
       2,
       MakeRgb(0, 1, 0),
       MakeRgb(1, 2, 0),
       {{0, MakeRgb(0, 1, 0)}, {1, MakeRgb(0, 2, 0)}, {2, MakeRgb(1, 2, 0)}}},
      // Falling channels too: 255 -> 0 over 29 rows ends at 0; row 1 is 255 - 8.79.
      {"blue 255 -> 0 over 29 rows",
       29,
       MakeRgb(0, 0, 255),
       MakeRgb(0, 0, 0),
       {{29, MakeRgb(0, 0, 0)}, {1, MakeRgb(0, 0, 246)}}},
  };
  for (const Case& c : cases) {
    RasterCanvas canvas = WhiteCanvas(2, 30);
    draw::pFillCurvedGradient(canvas, 0, 0, 1, c.rows, c.from, c.to, -1, false, false);
    for (const Row& row : c.expected)
      EXPECT_EQ(canvas.PixelAt(0, row.y), row.colour) << c.why << ", row " << row.y;
  }
}

TEST(Gradient, TopEqualToBottomIsOneRowInTheStartColour) {
  RasterCanvas canvas = WhiteCanvas(12, 6);
  draw::pFillCurvedGradient(canvas, 2, 3, 9, 3, MakeRgb(10, 20, 30), MakeRgb(200, 0, 0), 2, true, true);
  // One row, inset 2 with both corners: from 5 to 7 (pixels 5 and 6).
  EXPECT_EQ(Painted(canvas, kWhite), Block(5, 3, 7, 4));
  EXPECT_EQ(canvas.PixelAt(5, 3), MakeRgb(10, 20, 30));
  canvas.Clear(kWhite);
  draw::pFillCurvedGradient(canvas, 2, 4, 9, 3, MakeRgb(10, 20, 30), MakeRgb(200, 0, 0), -1, true, true);
  EXPECT_TRUE(Painted(canvas, kWhite).empty());  // bottom above top: nothing
}

TEST(CurvedRows, RadiusTwoWithBothCornersCut) {
  RasterCanvas canvas = WhiteCanvas(24, 14);
  draw::pFillCurvedGradient(canvas, 0, 0, 20, 10, kBlue, kBlue, 2, true, true);
  EXPECT_EQ(RowRun(canvas, 0), std::make_pair(3, 17));
  EXPECT_EQ(RowRun(canvas, 1), std::make_pair(2, 18));
  for (int y = 2; y <= 10; ++y) EXPECT_EQ(RowRun(canvas, y), std::make_pair(1, 19)) << y;
  EXPECT_EQ(RowRun(canvas, 11), std::make_pair(-1, -1));
}

TEST(CurvedRows, EachFlagCutsOnlyItsOwnCorner) {
  RasterCanvas canvas = WhiteCanvas(24, 8);
  draw::pFillCurvedSolid(canvas, 0, 0, 20, 4, kBlue, 3, true, false);
  EXPECT_EQ(RowRun(canvas, 0), std::make_pair(4, 19));
  EXPECT_EQ(RowRun(canvas, 2), std::make_pair(2, 19));
  EXPECT_EQ(RowRun(canvas, 4), std::make_pair(1, 19));  // the left column stays free

  canvas.Clear(kWhite);
  draw::pFillCurvedSolid(canvas, 0, 0, 20, 4, kBlue, 3, false, true);
  EXPECT_EQ(RowRun(canvas, 0), std::make_pair(0, 16));
  EXPECT_EQ(RowRun(canvas, 2), std::make_pair(0, 18));
  EXPECT_EQ(RowRun(canvas, 4), std::make_pair(0, 19));

  canvas.Clear(kWhite);
  draw::pFillCurvedSolid(canvas, 0, 0, 20, 4, kBlue, 3, false, false);
  for (int y = 0; y <= 4; ++y) EXPECT_EQ(RowRun(canvas, y), std::make_pair(0, 19)) << y;
}

TEST(CurvedRows, NegativeRadiusIgnoresTheFlags) {
  RasterCanvas canvas = WhiteCanvas(24, 8);
  draw::pFillCurvedSolidR(canvas, Rect{2, 1, 15, 6}, kBlue, -1, true, true);
  EXPECT_EQ(Painted(canvas, kWhite), Block(2, 1, 15, 7));
  // Radius 0 cuts nothing but still keeps a curved left edge one pixel in.
  canvas.Clear(kWhite);
  draw::pFillCurvedSolidR(canvas, Rect{2, 1, 15, 6}, kBlue, 0, true, true);
  EXPECT_EQ(Painted(canvas, kWhite), Block(3, 1, 15, 7));
}

TEST(CurvedRows, SolidFillMatchesTheGradientGeometry) {
  RasterCanvas solid = WhiteCanvas(30, 20);
  RasterCanvas gradient = WhiteCanvas(30, 20);
  draw::pFillCurvedSolid(solid, 3, 2, 25, 15, kBlue, 4, true, true);
  draw::pFillCurvedGradient(gradient, 3, 2, 25, 15, MakeRgb(0, 0, 1), MakeRgb(0, 0, 200), 4, true, true);
  EXPECT_EQ(Painted(solid, kWhite), Painted(gradient, kWhite));
  EXPECT_EQ(canvas_test::PixelsOf(solid, kBlue).size(), Painted(solid, kWhite).size());
}

TEST(Images, DrawImageStretchesAndSkipsTheMaskColour) {
  const Rgb mask = MakeRgb(0xC0, 0xC0, 0xC0);
  Bitmap bitmap(2, 2, kBlue);
  bitmap.Set(1, 0, mask);
  RasterCanvas canvas = WhiteCanvas(10, 10);
  draw::DrawImage(canvas, bitmap, mask, 1, 2, 4, 6);
  PixelSet expected = Block(1, 2, 5, 8);
  for (const auto& p : Block(3, 2, 5, 5)) expected.erase(p);  // the masked quarter
  EXPECT_EQ(Painted(canvas, kWhite), expected);
  EXPECT_EQ(canvas_test::PixelsOf(canvas, mask).size(), 0u);
}

TEST(Images, PaintPictureTakesMissingSizesFromThePicture) {
  Bitmap picture(3, 2, kBlue);
  RasterCanvas canvas = WhiteCanvas(12, 12);
  draw::pPaintPicture(canvas, picture, 1, 1);
  EXPECT_EQ(Painted(canvas, kWhite), Block(1, 1, 4, 3));
  canvas.Clear(kWhite);
  draw::pPaintPicture(canvas, picture, 1, 1, 6);
  EXPECT_EQ(Painted(canvas, kWhite), Block(1, 1, 7, 3));
  canvas.Clear(kWhite);
  draw::pPaintPicture(canvas, picture, 1, 1, -1, 5);
  EXPECT_EQ(Painted(canvas, kWhite), Block(1, 1, 4, 6));
  canvas.Clear(kWhite);
  draw::pPaintPicture(canvas, picture, 0, 0, 8, 8);
  EXPECT_EQ(Painted(canvas, kWhite), Block(0, 0, 8, 8));
}

TEST(Images, ClsFillsTheWholeSurface) {
  RasterCanvas canvas = WhiteCanvas(7, 5);
  draw::Cls(canvas, kBlue);
  EXPECT_EQ(canvas_test::PixelsOf(canvas, kBlue).size(), 35u);
}

}  // namespace
