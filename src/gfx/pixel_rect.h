// A rectangle in client pixels, laid out like a Windows RECT.
#pragma once

#include <cstdint>

namespace tabctl {

struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  // Edges included on all four sides: the rule of tab and close-box hits.
  constexpr bool Contains(std::int32_t x, std::int32_t y) const {
    return left <= x && x <= right && top <= y && y <= bottom;
  }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace tabctl
