#include "tabctl/colors.h"

#include <algorithm>

namespace tabctl {

DefaultSystemColors::DefaultSystemColors()
    : table_{
          0xC8C8C8,  // 0 scroll bar
          0x000000,  // 1 desktop
          0xD1B499,  // 2 active caption
          0xDBCDBF,  // 3 inactive caption
          0xF0F0F0,  // 4 menu
          0xFFFFFF,  // 5 window
          0x646464,  // 6 window frame
          0x000000,  // 7 menu text
          0x000000,  // 8 window text
          0x000000,  // 9 caption text
          0xB4B4B4,  // 10 active border
          0xFCF7F4,  // 11 inactive border
          0xABABAB,  // 12 application workspace
          0xFF9933,  // 13 highlight
          0xFFFFFF,  // 14 highlight text
          0xF0F0F0,  // 15 button face
          0xA0A0A0,  // 16 button shadow
          0x6D6D6D,  // 17 grey text
          0x000000,  // 18 button text
          0x544E43,  // 19 inactive caption text
          0xFFFFFF,  // 20 button highlight
          0x696969,  // 21 3D dark shadow
          0xE3E3E3,  // 22 3D light
          0x000000,  // 23 tooltip text
          0xE1FFFF,  // 24 tooltip background
          0x000000,  // 25 (unused)
          0xCC6600,  // 26 hot-track
          0xEAD1B9,  // 27 gradient active caption
          0xF2E4D7,  // 28 gradient inactive caption
          0xFF9933,  // 29 menu highlight
          0xF0F0F0,  // 30 menu bar
      } {}

std::uint32_t DefaultSystemColors::SysColor(int index) {
  if (index < 0 || index > kLastSystemColor) return 0;
  return table_[static_cast<std::size_t>(index)];
}

void DefaultSystemColors::Set(int index, std::uint32_t color) {
  if (index >= 0 && index <= kLastSystemColor) table_[static_cast<std::size_t>(index)] = color;
}

Color GetRGBFromOLE(Color color, SystemColors& system) {
  if ((color & kSystemColorFlag) != 0 && (color & 0x7F000000u) == 0) {
    const Color index = color & 0x00FFFFFFu;
    if (index > static_cast<Color>(kLastSystemColor)) return 0;
    return system.SysColor(static_cast<int>(index)) & 0x00FFFFFFu;
  }
  return color & 0x00FFFFFFu;
}

Color OffsetColor(Color color, int offset, SystemColors& system) {
  color = GetRGBFromOLE(color, system);
  const auto shift = [offset](int channel) {
    return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{channel} + offset, 0, 255));
  };
  return RgbColor(shift(pGetRValue(color)), shift(pGetGValue(color)), shift(pGetBValue(color)));
}

Color BlendColor(Color colorA, Color colorB, std::int32_t alpha) {
  const double a = static_cast<double>(alpha & 255) / 255.0;
  const auto mix = [a](int channelA, int channelB) {
    return static_cast<int>(RoundHalfEven((1.0 - a) * channelB + a * channelA));
  };
  return RgbColor(mix(pGetRValue(colorA), pGetRValue(colorB)), mix(pGetGValue(colorA), pGetGValue(colorB)),
                  mix(pGetBValue(colorA), pGetBValue(colorB)));
}

}  // namespace tabctl
