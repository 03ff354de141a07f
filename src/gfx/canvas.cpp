#include "gfx/canvas.h"

#include <algorithm>
#include <cmath>

namespace tabctl {

int FontPixelHeight(double points, int dpi) {
  const long pixels = std::lround(points * dpi / 72.0);
  return static_cast<int>(std::max(1L, pixels));
}

Bitmap::Bitmap(int width, int height, Rgb fill)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), PixelFromRgb(fill)) {}

int StretchSourceIndex(int d, int sourceLength, int destLength) {
  if (sourceLength <= 0 || destLength <= 0) return 0;
  const long long index = (2LL * d + 1) * sourceLength / (2LL * destLength);
  return static_cast<int>(std::clamp(index, 0LL, static_cast<long long>(sourceLength - 1)));
}

}  // namespace tabctl
