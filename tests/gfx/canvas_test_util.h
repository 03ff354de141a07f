// Helpers for pixel tests on the raster canvas.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "gfx/raster_canvas.h"

namespace canvas_test {

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

// The background the pixel tests draw on.
inline constexpr tabctl::Rgb kWhite = tabctl::MakeRgb(255, 255, 255);

// Every pixel that is not `background`.
inline PixelSet Painted(const tabctl::RasterCanvas& canvas, tabctl::Rgb background) {
  PixelSet set;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.PixelAt(x, y) != background) set.insert({x, y});
    }
  }
  return set;
}

// Every pixel of one colour.
inline PixelSet PixelsOf(const tabctl::RasterCanvas& canvas, tabctl::Rgb color) {
  PixelSet set;
  for (int y = 0; y < canvas.Height(); ++y) {
    for (int x = 0; x < canvas.Width(); ++x) {
      if (canvas.PixelAt(x, y) == color) set.insert({x, y});
    }
  }
  return set;
}

// The top-left width x height pixels as text, one character per pixel:
// the character mapped to its colour, '?' for an unmapped colour.
inline std::vector<std::string> Art(const tabctl::RasterCanvas& canvas, int width, int height,
                                    const std::map<tabctl::Rgb, char>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const auto it = legend.find(canvas.PixelAt(x, y));
      row += it == legend.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

// All pixels of the rectangle [left, right) x [top, bottom).
inline PixelSet Block(int left, int top, int right, int bottom) {
  PixelSet set;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) set.insert({x, y});
  }
  return set;
}

}  // namespace canvas_test
