#include "tabctl/colors.h"

#include <gtest/gtest.h>

namespace tabctl {
namespace {

TEST(ColorArithmetic, OffsetClampsEachChannel) {
  DefaultSystemColors system;
  Color c = RgbColor(250, 10, 128);
  EXPECT_EQ(OffsetColor(c, 16, system), RgbColor(255, 26, 144));
  EXPECT_EQ(OffsetColor(c, -16, system), RgbColor(234, 0, 112));
  EXPECT_EQ(OffsetColor(c, 1000, system), RgbColor(255, 255, 255));
  EXPECT_EQ(OffsetColor(c, -1000, system), RgbColor(0, 0, 0));
}

TEST(ColorArithmetic, OffsetStartsFromTheColourASystemReferenceStandsFor) {
  DefaultSystemColors system;
  system.Set(kColorButtonFace, RgbColor(10, 20, 30));
  EXPECT_EQ(OffsetColor(SystemColor(kColorButtonFace), 5, system), RgbColor(15, 25, 35));
  // A reference beyond the table stands for black.
  EXPECT_EQ(OffsetColor(SystemColor(kLastSystemColor + 1), 5, system), RgbColor(5, 5, 5));
}

TEST(ColorArithmetic, BlendMixesByTheLowByteOfAlpha) {
  const Color red = RgbColor(255, 0, 0);
  const Color blue = RgbColor(0, 0, 255);
  EXPECT_EQ(BlendColor(red, blue, 128), RgbColor(128, 0, 127));
  EXPECT_EQ(BlendColor(red, blue, 255), red);
  EXPECT_EQ(BlendColor(red, blue, 0), blue);
  EXPECT_EQ(BlendColor(red, blue, 256 + 128), RgbColor(128, 0, 127));
  EXPECT_EQ(BlendColor(RgbColor(100, 200, 50), RgbColor(100, 200, 50), 77), RgbColor(100, 200, 50));
}

TEST(ColorArithmetic, RoundingTiesGoToEven) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(75.25), 75);
  EXPECT_EQ(RoundHalfEven(75.5), 76);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
}

TEST(ColorTranslation, SystemReferencesAndDirectColours) {
  DefaultSystemColors system;
  system.Set(kColorButtonText, 0x00123456);
  EXPECT_EQ(GetRGBFromOLE(SystemColor(kColorButtonText), system), 0x00123456u);
  EXPECT_EQ(GetRGBFromOLE(0x00ABCDEF, system), 0x00ABCDEFu);
  // Palette forms mean nothing without a palette: the colour bits are used.
  EXPECT_EQ(GetRGBFromOLE(0x02ABCDEF, system), 0x00ABCDEFu);
  // A reference past the system's table is black rather than an error.
  EXPECT_EQ(GetRGBFromOLE(0x80000040, system), 0u);
  EXPECT_EQ(GetRGBFromOLE(0x80FF000F, system), 0u);
}

}  // namespace
}  // namespace tabctl
