// A Canvas over a 32-bit pixel buffer in memory. It follows the GDI rules
// the renderers rely on, measured against GDI under Wine:
// - Line: the end point is not painted; off-axis lines step along the longer
//   axis and round the other coordinate to nearest, a tie going to the
//   smaller coordinate.
// - FillRect: right and bottom edges excluded.
// - RoundRect: corners traced on the ellipse's first quadrant with integer
//   error steps and mirrored; ellipses of 2 pixels or less give a plain
//   rectangle; the fill covers each row between the outline's ends. Shapes
//   more than 65536 pixels wide or high are not drawn (the outline is traced
//   point by point, and a control's shapes are never near that size).
// - DrawFocusRect: every other pixel of the border inverted, counted from
//   the top-right pixel leftwards and round (Wine's GDI; Windows aligns its
//   dots to the screen instead, so there the phase can differ by one).
//
// Text uses a built-in font of boxes whose metrics are fixed, so text
// geometry is testable:
// - line height H = FontPixelHeight(font.size) (9 pt -> 12, 8.25 pt -> 11);
// - advance of a character N = max(2, H / 2) + (bold ? 1 : 0); East Asian
//   wide characters (CJK, Hangul, full-width forms) advance 2N;
// - a character other than a space is a solid box over columns x+1..x+A-2
//   and rows y+2..y+H-3 of its cell (x, y, advance A);
// - an underline (font underline or access key) is row y+H-1 across the
//   cell; a strikethrough is row y+H/2 across the line;
// - the face name and italic change nothing; the ellipsis is three '.'.
// Layout: centred x = left + floor((width - textWidth) / 2); vertically
// centred y = top + height / 2 - H / 2 (integer division truncating, as
// GDI's DrawText); bottom y = bottom - H. Only the last single "&" of a
// caption underlines its character; a trailing "&" is shown as itself.
#pragma once

#include <vector>

#include "gfx/canvas.h"

namespace tabctl {

class RasterCanvas final : public Canvas {
 public:
  // A new surface is black (all bits zero), like a new GDI bitmap.
  RasterCanvas(int width, int height);

  // Changes the size; the contents become black again.
  void Resize(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // The colour at (x, y); the point must be on the surface.
  Rgb PixelAt(int x, int y) const;
  const std::vector<Pixel>& Pixels() const { return pixels_; }

  Size ClientSize() const override { return {width_, height_}; }
  void Clear(Rgb color) override;
  void SetPenColor(Rgb color) override { pen_ = color; }
  Rgb PenColor() const override { return pen_; }
  void Line(int x1, int y1, int x2, int y2) override;
  void RectangleOutline(int x, int y, int width, int height) override;
  void FillRect(const Rect& rect, Rgb color) override;
  void RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight, std::optional<Rgb> fill) override;
  void SetFont(const FontDescription& font) override { font_ = font; }
  void SetTextColor(Rgb color) override { textColor_ = color; }
  Size MeasureText(std::string_view text) override;
  int DrawTextLine(std::string_view text, Rect& rect, unsigned flags) override;
  void DrawFocusRect(const Rect& rect) override;
  void TransparentBlit(const Bitmap& bitmap, const Rect& dest, Rgb transparent) override;
  void PaintPicture(const Bitmap& picture, const Rect& dest) override;

  // The built-in font's metrics (see above).
  static int LineHeight(const FontDescription& font);
  static int Advance(const FontDescription& font, char32_t c);

 private:
  bool OnSurface(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void Plot(int x, int y, Pixel p) {
    if (OnSurface(x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = p;
  }
  // Fills [x0, x1) x [y0, y1) clipped to the surface and to `clip`.
  void FillSpan(int x0, int y0, int x1, int y1, Pixel p, const Rect& clip);
  void Blit(const Bitmap& bitmap, const Rect& dest, std::optional<Rgb> transparent);

  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
  Rgb pen_ = 0;
  Rgb textColor_ = 0;
  FontDescription font_;
};

}  // namespace tabctl
