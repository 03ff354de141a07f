#include "gfx/raster_canvas.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "gfx/access_prefix.h"

namespace tabctl {
namespace {

using Wide = __int128;  // products of two 32-bit spans with a step count

Wide CeilDiv(Wide a, Wide b) {  // b > 0
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Calls fn(x, y) for every pixel GDI paints for a line from (x1, y1) to
// (x2, y2) whose coordinate along the longer axis lies in [lo, hi]. The line
// steps one pixel at a time along that axis, end point excluded; the other
// coordinate is the exact one rounded to nearest, ties towards the smaller
// value (GDI's choice, checked against it pixel by pixel).
template <typename Fn>
void ForEachLinePixel(int x1, int y1, int x2, int y2, long long lo, long long hi, Fn fn) {
  const long long dx = static_cast<long long>(x2) - x1;
  const long long dy = static_cast<long long>(y2) - y1;
  const long long n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long major0 = xMajor ? x1 : y1;
  const long long minor0 = xMajor ? y1 : x1;
  const long long dMinor = xMajor ? dy : dx;
  const long long step = (xMajor ? dx : dy) > 0 ? 1 : -1;
  long long kLo = 0;
  long long kHi = n - 1;
  if (step > 0) {
    kLo = std::max(kLo, lo - major0);
    kHi = std::min(kHi, hi - major0);
  } else {
    kLo = std::max(kLo, major0 - hi);
    kHi = std::min(kHi, major0 - lo);
  }
  for (long long k = kLo; k <= kHi; ++k) {
    const long long major = major0 + step * k;
    const long long minor = minor0 + static_cast<long long>(CeilDiv(Wide{2} * dMinor * k - n, Wide{2} * n));
    if (xMajor) {
      fn(major, minor);
    } else {
      fn(minor, major);
    }
  }
}

// Appends the pixels of a segment, end point excluded.
void TraceSegment(Point from, Point to, std::vector<Point>& out) {
  ForEachLinePixel(from.x, from.y, to.x, to.y, INT32_MIN, INT32_MAX, [&](long long x, long long y) {
    out.push_back({static_cast<int>(x), static_cast<int>(y)});
  });
}

// First quadrant of a width x height ellipse as GDI traces it (integer
// error terms, stepping x down and y up), relative to the ellipse's box.
std::vector<Point> EllipseFirstQuadrant(int width, int height) {
  const long long a = width - 1;
  const long long b = height - 1;
  const long long asq = 8 * a * a;
  const long long bsq = 8 * b * b;
  long long dx = 4 * b * b * (1 - a);
  long long dy = 4 * a * a * (1 + (b % 2));
  long long err = dx + dy + a * a * (b % 2);
  std::vector<Point> points;
  Point pt{static_cast<int>(a), height / 2};
  while (pt.x >= width / 2) {
    const long long e2 = 2 * err;
    points.push_back(pt);
    if (e2 >= dx) {
      --pt.x;
      dx += bsq;
      err += dx;
    }
    if (e2 <= dy) {
      ++pt.y;
      dy += asq;
      err += dy;
    }
  }
  return points;
}

// Corner points of a round rectangle over [l, r) x [t, b), in outline order.
std::vector<Point> RoundRectPolygon(int l, int t, int r, int b, int ew, int eh) {
  if (ew <= 2 || eh <= 2) return {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
  std::vector<Point> quadrant = EllipseFirstQuadrant(ew, eh);
  for (Point& p : quadrant) p = {r - ew + p.x, t + eh - 1 - p.y};  // top-right corner
  // Mirror to the left; the middle point is not doubled when the ellipse
  // spans the whole width with an odd size.
  std::size_t count = quadrant.size();
  std::size_t end = 2 * count - 1;
  if (ew % 2 != 0 && ew == r - l) --end;
  std::vector<Point> half(end + 1);
  for (std::size_t i = 0; i < count; ++i) {
    half[i] = quadrant[i];
    half[end - i] = {l + r - 1 - quadrant[i].x, quadrant[i].y};
  }
  // Mirror to the bottom, likewise.
  count = half.size();
  end = 2 * count - 1;
  if (eh % 2 != 0 && eh == b - t) --end;
  std::vector<Point> all(end + 1);
  for (std::size_t i = 0; i < count; ++i) {
    all[i] = half[i];
    all[end - i] = {half[i].x, t + b - 1 - half[i].y};
  }
  return all;
}

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

int FloorDiv(int a, int b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

RasterCanvas::RasterCanvas(int width, int height) { Resize(width, height); }

void RasterCanvas::Resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

Rgb RasterCanvas::PixelAt(int x, int y) const {
  return RgbFromPixel(pixels_.at(static_cast<std::size_t>(y) * width_ + x));
}

void RasterCanvas::Clear(Rgb color) { std::fill(pixels_.begin(), pixels_.end(), PixelFromRgb(color)); }

void RasterCanvas::FillSpan(int x0, int y0, int x1, int y1, Pixel p, const Rect& clip) {
  x0 = std::max({x0, 0, clip.left});
  y0 = std::max({y0, 0, clip.top});
  x1 = std::min({x1, width_, clip.right});
  y1 = std::min({y1, height_, clip.bottom});
  for (int y = y0; y < y1; ++y) {
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    std::fill(row + x0, row + std::max(x0, x1), p);
  }
}

void RasterCanvas::Line(int x1, int y1, int x2, int y2) {
  const Pixel p = PixelFromRgb(pen_);
  // Only the steps whose longer-axis coordinate is on the surface matter,
  // which keeps huge coordinates cheap.
  const bool xMajor =
      std::llabs(static_cast<long long>(x2) - x1) >= std::llabs(static_cast<long long>(y2) - y1);
  ForEachLinePixel(x1, y1, x2, y2, 0, (xMajor ? width_ : height_) - 1, [&](long long x, long long y) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) Plot(static_cast<int>(x), static_cast<int>(y), p);
  });
}

void RasterCanvas::RectangleOutline(int x, int y, int width, int height) {
  Line(x, y, x + width, y);
  Line(x + width, y, x + width, y + height);
  Line(x + width, y + height, x, y + height);
  Line(x, y + height, x, y);
}

void RasterCanvas::FillRect(const Rect& rect, Rgb color) {
  // A reversed edge pair still covers the pixels between the two edges, and
  // the excluded edge stays the one given as right (bottom).
  const int x0 = rect.left <= rect.right ? rect.left : rect.right + 1;
  const int x1 = rect.left <= rect.right ? rect.right : rect.left + 1;
  const int y0 = rect.top <= rect.bottom ? rect.top : rect.bottom + 1;
  const int y1 = rect.top <= rect.bottom ? rect.bottom : rect.top + 1;
  FillSpan(x0, y0, x1, y1, PixelFromRgb(color), Rect{0, 0, width_, height_});
}

void RasterCanvas::RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight, std::optional<Rgb> fill) {
  const int l = std::min(rect.left, rect.right);
  const int r = std::max(rect.left, rect.right);
  const int t = std::min(rect.top, rect.bottom);
  const int b = std::max(rect.top, rect.bottom);
  // The outline is traced point by point; a control never asks for shapes
  // anywhere near this size, so larger ones are not drawn.
  constexpr long long kLargestSide = 1 << 16;
  if (l == r || t == b || static_cast<long long>(r) - l > kLargestSide ||
      static_cast<long long>(b) - t > kLargestSide) {
    return;
  }
  const int ew = std::min(r - l, std::abs(ellipseWidth));
  const int eh = std::min(b - t, std::abs(ellipseHeight));
  const std::vector<Point> polygon = RoundRectPolygon(l, t, r, b, ew, eh);
  std::vector<Point> outline;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    TraceSegment(polygon[i], polygon[(i + 1) % polygon.size()], outline);
  }
  if (fill) {
    // The inside of each row lies between the outline's two ends.
    std::vector<int> lo(static_cast<std::size_t>(b - t), r);
    std::vector<int> hi(static_cast<std::size_t>(b - t), l - 1);
    for (const Point& p : outline) {
      if (p.y < t || p.y >= b) continue;
      auto& a = lo[static_cast<std::size_t>(p.y - t)];
      auto& z = hi[static_cast<std::size_t>(p.y - t)];
      a = std::min(a, p.x);
      z = std::max(z, p.x);
    }
    const Pixel f = PixelFromRgb(*fill);
    for (int y = t; y < b; ++y) {
      const auto i = static_cast<std::size_t>(y - t);
      FillSpan(lo[i], y, hi[i] + 1, y + 1, f, Rect{0, 0, width_, height_});
    }
  }
  const Pixel p = PixelFromRgb(pen_);
  for (const Point& q : outline) Plot(q.x, q.y, p);
}

int RasterCanvas::LineHeight(const FontDescription& font) { return FontPixelHeight(font.size); }

int RasterCanvas::Advance(const FontDescription& font, char32_t c) {
  const int narrow = std::max(2, LineHeight(font) / 2) + (font.bold ? 1 : 0);
  return IsWide(c) ? 2 * narrow : narrow;
}

Size RasterCanvas::MeasureText(std::string_view text) {
  int width = 0;
  for (char32_t c : DecodeUtf8(text)) width += Advance(font_, c);
  return {width, LineHeight(font_)};
}

namespace {

// A line as it is drawn: its characters once the access-key prefixes are
// taken out and an ellipsis is put in, the underlined one and the width.
struct ShapedLine {
  std::vector<char32_t> chars;
  int underlined = -1;
  int width = 0;
};

ShapedLine ShapeLine(std::string_view text, const FontDescription& font, int room, unsigned flags) {
  ShapedLine line;
  if ((flags & kTextNoPrefix) != 0) {
    line.chars = DecodeUtf8(text);
  } else {
    PrefixedText prefixed = ApplyAccessPrefixes(text);
    line.chars = std::move(prefixed.shown);
    line.underlined = prefixed.marked;
  }
  for (char32_t c : line.chars) line.width += RasterCanvas::Advance(font, c);
  if ((flags & kTextEndEllipsis) == 0 || line.width <= room) return line;
  // Keep the longest head that fits together with "..."; the dots stay
  // even when they alone do not fit. Every advance is positive, so the
  // heads that fit are those up to the first that does not.
  const int dots = 3 * RasterCanvas::Advance(font, U'.');
  std::size_t keep = 0;
  int head = 0;
  while (keep < line.chars.size()) {
    const int next = head + RasterCanvas::Advance(font, line.chars[keep]);
    if (next + dots > room) break;
    head = next;
    ++keep;
  }
  line.chars.resize(keep);
  line.chars.insert(line.chars.end(), {U'.', U'.', U'.'});
  if (line.underlined >= static_cast<int>(keep)) line.underlined = -1;
  line.width = head + dots;
  return line;
}

}  // namespace

int RasterCanvas::DrawTextLine(std::string_view text, Rect& rect, unsigned flags) {
  const ShapedLine line = ShapeLine(text, font_, rect.Width(), flags);
  const int lineHeight = LineHeight(font_);
  int x = rect.left;
  if ((flags & kTextCenter) != 0) {
    x = rect.left + FloorDiv(rect.Width() - line.width, 2);
  } else if ((flags & kTextRight) != 0) {
    x = rect.right - line.width;
  }
  int y = rect.top;
  if ((flags & kTextSingleLine) != 0) {
    if ((flags & kTextVCenter) != 0) {
      y = rect.top + rect.Height() / 2 - lineHeight / 2;
    } else if ((flags & kTextBottom) != 0) {
      y = rect.bottom - lineHeight;
    }
  }
  if ((flags & kTextCalcRect) != 0) {
    rect.right = rect.left + line.width;
    rect.bottom = y + lineHeight;
    return y + lineHeight - rect.top;
  }

  const Pixel ink = PixelFromRgb(textColor_);
  const Rect clip = rect;
  int cx = x;
  for (std::size_t i = 0; i < line.chars.size(); ++i) {
    const int advance = Advance(font_, line.chars[i]);
    if (line.chars[i] != U' ' && line.chars[i] != U'\u3000') {
      FillSpan(cx + 1, y + 2, cx + advance - 1, y + lineHeight - 2, ink, clip);
    }
    if (static_cast<int>(i) == line.underlined) {
      FillSpan(cx, y + lineHeight - 1, cx + advance, y + lineHeight, ink, clip);
    }
    cx += advance;
  }
  if (font_.underline) FillSpan(x, y + lineHeight - 1, x + line.width, y + lineHeight, ink, clip);
  if (font_.strikethrough) {
    FillSpan(x, y + lineHeight / 2, x + line.width, y + lineHeight / 2 + 1, ink, clip);
  }
  return y + lineHeight - rect.top;
}

void RasterCanvas::DrawFocusRect(const Rect& rect) {
  const long long l = std::min(rect.left, rect.right);
  const long long r = std::max(rect.left, rect.right);
  const long long t = std::min(rect.top, rect.bottom);
  const long long b = std::max(rect.top, rect.bottom);
  if (l == r || t == b) return;
  // An alternating dotted outline drawn inverting: round the border from
  // the top-right pixel leftwards, down, right and up again, every other
  // pixel inverted starting with the first (k counts the pixels on the way).
  // A pixel passed twice (a frame one pixel wide) may be inverted twice,
  // which restores it. Only the part on the surface is visited.
  const long long w = r - l;
  const long long h = b - t;
  const auto invert = [&](long long x, long long y, long long k) {
    if (k % 2 == 0 && x >= 0 && y >= 0 && x < width_ && y < height_) {
      pixels_[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)] ^= 0x00FFFFFF;
    }
  };
  const long long x0 = std::max(l, 0LL);
  const long long x1 = std::min(r - 1, static_cast<long long>(width_));  // exclusive
  const long long y0 = std::max(t, 0LL);
  const long long y1 = std::min(b - 1, static_cast<long long>(height_));  // exclusive
  for (long long x = std::max(l + 1, 0LL); x <= std::min(r - 1, width_ - 1LL); ++x) {
    invert(x, t, r - 1 - x);  // top, right to left
  }
  for (long long y = y0; y < y1; ++y) invert(l, y, (w - 1) + (y - t));                // left, downwards
  for (long long x = x0; x < x1; ++x) invert(x, b - 1, (w - 1) + (h - 1) + (x - l));  // bottom
  for (long long y = std::max(t + 1, 0LL); y <= std::min(b - 1, height_ - 1LL); ++y) {
    invert(r - 1, y, 2 * (w - 1) + (h - 1) + (b - 1 - y));  // right, upwards
  }
}

void RasterCanvas::Blit(const Bitmap& bitmap, const Rect& dest, std::optional<Rgb> transparent) {
  const int dw = dest.Width();
  const int dh = dest.Height();
  if (bitmap.Empty() || dw <= 0 || dh <= 0) return;
  const int x0 = std::max(dest.left, 0);
  const int x1 = std::min(dest.right, width_);
  const int y0 = std::max(dest.top, 0);
  const int y1 = std::min(dest.bottom, height_);
  const Pixel key = transparent ? PixelFromRgb(*transparent) : 0;
  for (int y = y0; y < y1; ++y) {
    const int sy = StretchSourceIndex(y - dest.top, bitmap.Height(), dh);
    const Pixel* source = bitmap.Pixels().data() + static_cast<std::size_t>(sy) * bitmap.Width();
    Pixel* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
    for (int x = x0; x < x1; ++x) {
      const Pixel p = source[StretchSourceIndex(x - dest.left, bitmap.Width(), dw)] & 0x00FFFFFF;
      if (transparent && p == key) continue;
      row[x] = p;
    }
  }
}

void RasterCanvas::TransparentBlit(const Bitmap& bitmap, const Rect& dest, Rgb transparent) {
  Blit(bitmap, dest, transparent);
}

void RasterCanvas::PaintPicture(const Bitmap& picture, const Rect& dest) {
  Blit(picture, dest, std::nullopt);
}

}  // namespace tabctl
