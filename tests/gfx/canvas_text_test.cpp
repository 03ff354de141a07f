// Text on the raster canvas: the built-in font's metrics and DrawText's
// layout rules (centring, measuring, access-key prefixes, ellipsis, clip).
#include <gtest/gtest.h>

#include "canvas_test_util.h"
#include "gfx/raster_canvas.h"

namespace {

using namespace canvas_test;
using namespace tabctl;

constexpr Rgb kInk = MakeRgb(0, 0, 128);
constexpr unsigned kCaption = tabctl::kTextCenter | tabctl::kTextVCenter | tabctl::kTextSingleLine;
constexpr unsigned kMeasure = tabctl::kTextSingleLine | tabctl::kTextCalcRect | tabctl::kTextEndEllipsis;

// Default font: 8.25 points -> line height 11, advance 5.
struct RasterText : ::testing::Test {
  RasterCanvas canvas{80, 30};
  RasterText() {
    canvas.Clear(kWhite);
    canvas.SetTextColor(kInk);
  }
  Rect Calc(std::string_view text, Rect rect, unsigned flags = tabctl::kTextSingleLine) {
    canvas.DrawTextLine(text, rect, flags | tabctl::kTextCalcRect);
    return rect;
  }
  PixelSet Draw(std::string_view text, Rect rect, unsigned flags = tabctl::kTextSingleLine) {
    canvas.Clear(kWhite);
    canvas.DrawTextLine(text, rect, flags);
    return Painted(canvas, kWhite);
  }
};

TEST_F(RasterText, MetricsFollowSizeWeightAndWidth) {
  EXPECT_EQ(canvas.MeasureText("Tab"), (Size{15, 11}));
  EXPECT_EQ(canvas.MeasureText(""), (Size{0, 11}));
  EXPECT_EQ(canvas.MeasureText("A&&B"), (Size{20, 11}));  // taken literally
  EXPECT_EQ(canvas.MeasureText("加速状态"), (Size{40, 11}));
  FontDescription font;
  font.bold = true;
  canvas.SetFont(font);
  EXPECT_EQ(canvas.MeasureText("Tab"), (Size{18, 11}));
  font.bold = false;
  font.size = 9;
  canvas.SetFont(font);
  EXPECT_EQ(canvas.MeasureText("Tab"), (Size{18, 12}));
  EXPECT_EQ(tabctl::FontPixelHeight(0), 1);
}

TEST_F(RasterText, CaptionIsCentredBothWaysAsBoxes) {
  // "Ab" is 10 wide: x = 0 + (40 - 10) / 2 = 15; y = 0 + 20 / 2 - 11 / 2 = 5.
  PixelSet expected = Block(16, 7, 19, 14);
  for (const auto& p : Block(21, 7, 24, 14)) expected.insert(p);
  EXPECT_EQ(Draw("Ab", Rect{0, 0, 40, 20}, kCaption), expected);
  EXPECT_EQ(canvas.PixelAt(16, 7), kInk);
  // A space has no ink but takes its place.
  EXPECT_EQ(Draw("A b", Rect{0, 0, 40, 20}, tabctl::kTextSingleLine), [] {
    PixelSet s = Block(1, 2, 4, 9);
    for (const auto& p : Block(11, 2, 14, 9)) s.insert(p);
    return s;
  }());
}

TEST_F(RasterText, MeasuringUpdatesRightAndBottomOnly) {
  Rect r{10, 10, 200, 40};
  EXPECT_EQ(canvas.DrawTextLine("Hello", r, tabctl::kTextSingleLine | tabctl::kTextCalcRect), 11);
  EXPECT_EQ(r, (Rect{10, 10, 35, 21}));
  r = {10, 10, 200, 40};
  EXPECT_EQ(canvas.DrawTextLine("Hello", r, kCaption | tabctl::kTextCalcRect), 21);
  EXPECT_EQ(r, (Rect{10, 10, 35, 31}));  // centring moves the bottom, not the left
  EXPECT_TRUE(Painted(canvas, kWhite).empty());
  Rect drawn{10, 10, 200, 40};
  EXPECT_EQ(canvas.DrawTextLine("Hello", drawn, tabctl::kTextSingleLine | tabctl::kTextBottom), 30);
}

TEST_F(RasterText, AmpersandsFollowAccessKeyRules) {
  const Rect area{0, 0, 80, 20};
  // "&File": F underlined on the last row of the line, the "&" not shown.
  PixelSet file = Draw("&File", area);
  EXPECT_EQ(Calc("&File", area).right, 20);
  for (int x = 0; x < 5; ++x) EXPECT_TRUE(file.count({x, 10})) << x;
  EXPECT_FALSE(file.count({5, 10}));
  // "a&&b": three characters, one of them "&", nothing underlined.
  EXPECT_EQ(Calc("a&&b", area).right, 15);
  PixelSet literal = Draw("a&&b", area);
  for (int x = 0; x < 15; ++x) EXPECT_FALSE(literal.count({x, 10}));
  EXPECT_EQ(literal.size(), 3u * 3 * 7);
  // The last single "&" wins; a final "&" is shown.
  PixelSet two = Draw("&a&b", area);
  EXPECT_FALSE(two.count({0, 10}));
  EXPECT_TRUE(two.count({5, 10}));
  EXPECT_EQ(Calc("ab&", area).right, 15);
  // Without prefix processing every "&" is a character.
  EXPECT_EQ(Calc("&File", area, tabctl::kTextSingleLine | tabctl::kTextNoPrefix).right, 25);
  EXPECT_FALSE(Draw("&File", area, tabctl::kTextSingleLine | tabctl::kTextNoPrefix).count({0, 10}));
}

TEST_F(RasterText, EndEllipsisKeepsTheLongestHeadThatFits) {
  Rect r{0, 0, 30, 20};
  canvas.DrawTextLine("Hello world", r, kMeasure);
  EXPECT_EQ(r.right, 30);  // "Hel..."
  PixelSet drawn =
      Draw("Hello world", Rect{0, 0, 30, 20}, tabctl::kTextSingleLine | tabctl::kTextEndEllipsis);
  EXPECT_EQ(drawn.size(), 6u * 3 * 7);
  // When not even the dots fit, the dots alone are measured.
  r = {0, 0, 12, 20};
  canvas.DrawTextLine("Hello world", r, kMeasure);
  EXPECT_EQ(r.right, 15);
  // Text that fits is left alone; a cut-off access key loses its underline.
  r = {0, 0, 60, 20};
  canvas.DrawTextLine("Hello", r, kMeasure);
  EXPECT_EQ(r.right, 25);
  PixelSet cut = Draw("Hello &world", Rect{0, 0, 30, 20}, tabctl::kTextSingleLine | tabctl::kTextEndEllipsis);
  for (int x = 0; x < 30; ++x) EXPECT_FALSE(cut.count({x, 10}));
}

TEST_F(RasterText, InkStaysInsideTheRectangle) {
  PixelSet drawn = Draw("Hello world", Rect{10, 4, 27, 12}, tabctl::kTextSingleLine);
  ASSERT_FALSE(drawn.empty());
  for (const auto& p : drawn) {
    EXPECT_TRUE(p.first >= 10 && p.first < 27 && p.second >= 4 && p.second < 12);
  }
  EXPECT_TRUE(Draw("Hello", Rect{20, 10, 0, 0}, kCaption).empty());
}

TEST_F(RasterText, FontUnderlineAndStrikethroughSpanTheLine) {
  FontDescription font;
  font.underline = true;
  font.strikethrough = true;
  canvas.SetFont(font);
  PixelSet drawn = Draw("a b", Rect{0, 0, 80, 20});
  for (int x = 0; x < 15; ++x) {
    EXPECT_TRUE(drawn.count({x, 10})) << x;
    EXPECT_TRUE(drawn.count({x, 5})) << x;
  }
  EXPECT_FALSE(drawn.count({15, 10}));
}

}  // namespace
