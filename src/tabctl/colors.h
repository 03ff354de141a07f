// Colour values of the tab control and the arithmetic its drawing uses.
//
// A colour value is 32 bits: a direct colour 0x00BBGGRR (red in the low byte,
// like a Windows COLORREF), or 0x80000000 + n for system colour n, which is
// looked up through SystemColors when it is drawn.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace tabctl {

using Color = std::uint32_t;

inline constexpr Color kSystemColorFlag = 0x80000000u;

// System colour indices the control uses.
// Index 3 is the caption colour theme 4 derives its hover and focus colours
// from (the inactive caption colour in the system's table).
inline constexpr int kColorInactiveCaption = 3;
inline constexpr int kColorButtonFace = 15;
inline constexpr int kColorButtonShadow = 16;
inline constexpr int kColorGrayText = 17;
inline constexpr int kColorButtonText = 18;
inline constexpr int kColorButtonHighlight = 20;
inline constexpr int kColorDarkShadow3D = 21;
inline constexpr int kColorLight3D = 22;
// Highest system colour index a reference may name (the menu bar colour).
inline constexpr int kLastSystemColor = 30;

constexpr Color SystemColor(int index) { return kSystemColorFlag + static_cast<Color>(index); }
// The system colours the control's defaults and theme sets name.
inline constexpr Color kSysButtonFace = SystemColor(kColorButtonFace);
inline constexpr Color kSysButtonShadow = SystemColor(kColorButtonShadow);
inline constexpr Color kSysGrayText = SystemColor(kColorGrayText);
inline constexpr Color kSysButtonText = SystemColor(kColorButtonText);
inline constexpr Color kSysButtonHighlight = SystemColor(kColorButtonHighlight);
inline constexpr Color kSysDarkShadow3D = SystemColor(kColorDarkShadow3D);
inline constexpr Color kSysLight3D = SystemColor(kColorLight3D);
constexpr bool IsSystemColor(Color c) { return (c & 0xFF000000u) == kSystemColorFlag; }
constexpr Color RgbColor(int r, int g, int b) {
  return static_cast<Color>(r & 255) | static_cast<Color>(g & 255) << 8 | static_cast<Color>(b & 255) << 16;
}

// Channel extraction: byte 0, 1 and 2 of a colour value, as they are (a
// system colour reference is not translated first).
constexpr int pGetRValue(Color c) { return static_cast<int>(c & 255); }
constexpr int pGetGValue(Color c) { return static_cast<int>(c >> 8 & 255); }
constexpr int pGetBValue(Color c) { return static_cast<int>(c >> 16 & 255); }

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4). The control rounds this way wherever it rounds.
inline double RoundHalfEven(double v) {
  const double floor = std::floor(v);
  const double diff = v - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

// The system's colour table (GetSysColor on Windows).
class SystemColors {
 public:
  virtual ~SystemColors() = default;
  // 0x00BBGGRR of system colour index; 0 for an index the system lacks.
  virtual std::uint32_t SysColor(int index) = 0;
};

// A fixed colour table with the values of a default modern Windows desktop,
// for tests and for drawing away from Windows. Entries can be changed.
class DefaultSystemColors : public SystemColors {
 public:
  DefaultSystemColors();
  std::uint32_t SysColor(int index) override;
  void Set(int index, std::uint32_t color);

 private:
  std::array<std::uint32_t, kLastSystemColor + 1> table_;
};

// The direct colour a colour value stands for (24 bits). A system colour
// reference becomes the system's current colour; a reference to an index
// beyond the table gives black rather than failing in the middle of a
// repaint. The high byte of any other value is dropped.
Color GetRGBFromOLE(Color color, SystemColors& system);

// Lightens (positive offset) or darkens (negative) each channel of the
// colour `color` stands for, clamped to 0..255.
Color OffsetColor(Color color, int offset, SystemColors& system);

// Mixes two direct colours: alpha (its low byte) 255 gives colorA, 0 gives
// colorB; each channel is rounded half to even.
Color BlendColor(Color colorA, Color colorB, std::int32_t alpha);

}  // namespace tabctl
